#include "platform/net/TransferDriver.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include "platform/base/RunLoop.h"
#include "platform/net/Initialize.h"

namespace net {
namespace {

double monotonicNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

using base::RunLoop;

TransferDriver& TransferDriver::shared() {
  // Never destroyed, like the main run loop it runs on: transfers may still be running at exit.
  static TransferDriver* driver = new TransferDriver(RunLoop::main());
  return *driver;
}

TransferDriver::TransferDriver(RunLoop& loop) : loop_(loop) {
  initialize();
  multi_ = curl_multi_init();
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &TransferDriver::onSocket);
  curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &TransferDriver::onTimer);
  curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
  // libcurl's time-outs run in real time, also when the loop's clock is virtual.
  timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  loop_.watch(timerFd_, RunLoop::kReadable, [this](int) {
    std::uint64_t expirations;
    (void)!read(timerFd_, &expirations, sizeof expirations);
    armedDue_ = 0;
    // Also when it fired early: libcurl then asks again for the time-out it still needs.
    act(CURL_SOCKET_TIMEOUT, 0);
  });
}

int TransferDriver::onSocket(CURL*, curl_socket_t fd, int what, void* self, void*) {
  auto* driver = static_cast<TransferDriver*>(self);
  if (what == CURL_POLL_REMOVE) {
    driver->loop_.unwatch(fd);
    return 0;
  }
  int events = ((what & CURL_POLL_IN) ? RunLoop::kReadable : 0) |
               ((what & CURL_POLL_OUT) ? RunLoop::kWritable : 0);
  driver->loop_.watch(fd, events, [driver, fd](int ready) {
    driver->act(fd, ((ready & RunLoop::kReadable) ? CURL_CSELECT_IN : 0) |
                        ((ready & RunLoop::kWritable) ? CURL_CSELECT_OUT : 0) |
                        ((ready & RunLoop::kFdError) ? CURL_CSELECT_ERR : 0));
  });
  return 0;
}

int TransferDriver::onClose(void* self, curl_socket_t fd) {
  // libcurl may say it stops watching a socket only after closing it, when the number may belong
  // to another thread's descriptor already: stop watching it here, before it is closed.
  static_cast<TransferDriver*>(self)->loop_.unwatch(fd);
  return close(fd);
}

int TransferDriver::onTimer(CURLM*, long ms, void* self) {
  // Applied after libcurl returns, once, however often it changes its mind meanwhile.
  auto* driver = static_cast<TransferDriver*>(self);
  driver->wantedTimeoutMs_ = ms;
  driver->timerChanged_ = true;
  return 0;
}

// A timer left armed when libcurl no longer needs it, or armed sooner than needed, costs one
// early check of libcurl's time-outs; re-arming the timerfd for every change would cost a system
// call for nearly every transfer.
void TransferDriver::applyTimer() {
  if (!timerChanged_) return;
  timerChanged_ = false;
  if (wantedTimeoutMs_ < 0) return;
  if (armedDue_ != 0 && armedDue_ <= monotonicNow() + wantedTimeoutMs_ * 1e-3) return;
  arm(wantedTimeoutMs_);
}

void TransferDriver::arm(long ms) {
  itimerspec due{};
  due.it_value.tv_sec = ms / 1000;
  // Zero would disarm it: "at once" is one nanosecond.
  due.it_value.tv_nsec = ms > 0 ? (ms % 1000) * 1000000 : 1;
  timerfd_settime(timerFd_, 0, &due, nullptr);
  armedDue_ = monotonicNow() + ms * 1e-3;
}

void TransferDriver::add(std::shared_ptr<ConnectionTransfer> transfer) {
  Error error = transfer->setupError();
  curl_easy_setopt(transfer->easy(), CURLOPT_CLOSESOCKETFUNCTION, &TransferDriver::onClose);
  curl_easy_setopt(transfer->easy(), CURLOPT_CLOSESOCKETDATA, this);
  if (!error && curl_multi_add_handle(multi_, transfer->easy()) != CURLM_OK)
    error = Error(Error::kDomain, Error::Unknown, "Could not start a transfer");
  if (error) {
    transfer->failed(error);
    return;
  }
  running_.emplace(transfer->easy(), std::move(transfer));
  if (timerChanged_ && wantedTimeoutMs_ == 0) {
    // libcurl wants to start the transfer now: do it here rather than after a timer round trip.
    // Its reports wait for the loop, as none may arrive inside UrlConnection::start().
    timerChanged_ = false;
    act(CURL_SOCKET_TIMEOUT, 0, false);
  } else {
    applyTimer();
  }
}

void TransferDriver::remove(const std::shared_ptr<ConnectionTransfer>& transfer) {
  auto it = running_.find(transfer->easy());
  if (it == running_.end()) return;
  curl_multi_remove_handle(multi_, it->first);
  running_.erase(it);
  applyTimer();
}

void TransferDriver::act(curl_socket_t fd, int events, bool reportNow) {
  ++depth_;
  int running = 0;
  curl_multi_socket_action(multi_, fd, events, &running);
  collectFinished();
  applyTimer();
  --depth_;
  if (reporting_.empty()) return;
  if (reportNow) {
    runReports();
  } else {
    scheduleReports();
  }
}

void TransferDriver::collectFinished() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    CURL* easy = message->easy_handle;
    CURLcode code = message->data.result;
    auto it = running_.find(easy);
    if (it == running_.end()) continue;
    std::shared_ptr<ConnectionTransfer> transfer = std::move(it->second);
    running_.erase(it);
    curl_multi_remove_handle(multi_, easy);
    transfer->finished(code);
  }
}

void TransferDriver::reportsQueued(std::shared_ptr<ConnectionTransfer> transfer) {
  reporting_.push_back(std::move(transfer));
  if (depth_ == 0) scheduleReports();
}

void TransferDriver::scheduleReports() {
  // Not one task for all: a test's reset of the loop may drop a task.
  loop_.post([this] { runReports(); });
}

void TransferDriver::runReports() {
  std::vector<std::shared_ptr<ConnectionTransfer>> batch;
  batch.swap(reporting_);
  for (const auto& transfer : batch) transfer->runReports();
}

}  // namespace net
