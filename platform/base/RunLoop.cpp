#include "platform/base/RunLoop.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>

namespace base {

RunLoop& RunLoop::main() {
  // Never destroyed: worker threads may still post results while the process exits.
  static RunLoop* loop = new RunLoop();
  return *loop;
}

RunLoop::RunLoop()
    : epoll_(epoll_create1(EPOLL_CLOEXEC)),
      wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      realStart_(0) {
  realStart_ = realNow();
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = wakeFd_;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, wakeFd_, &event);
}

RunLoop::~RunLoop() {
  close(wakeFd_);
  close(epoll_);
}

double RunLoop::realNow() const {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double RunLoop::now() const {
  std::lock_guard lock(mutex_);
  return virtual_ ? virtualNow_ : realNow() - realStart_;
}

void RunLoop::setVirtualClock(bool on) {
  std::lock_guard lock(mutex_);
  virtual_ = on;
  virtualNow_ = 0;
  realStart_ = realNow();
}

void RunLoop::beginOutsideWork() {
  std::lock_guard lock(mutex_);
  ++outsideWork_;
}

void RunLoop::endOutsideWork() {
  std::lock_guard lock(mutex_);
  if (outsideWork_ > 0) --outsideWork_;
}

void RunLoop::signal() {
  std::uint64_t one = 1;
  // The counter only saturates when nobody reads it, and then a signal is pending anyway.
  (void)!write(wakeFd_, &one, sizeof one);
}

void RunLoop::watch(int fd, int events, FdHandler handler) {
  epoll_event event{};
  event.events = ((events & kReadable) ? EPOLLIN : 0u) | ((events & kWritable) ? EPOLLOUT : 0u);
  event.data.fd = fd;
  auto [it, added] = watches_.try_emplace(fd);
  // A descriptor closed while watched left the epoll set on its own; its number may be new.
  if (!added && epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event) != 0 && errno == ENOENT) added = true;
  if (added) epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
  it->second = std::move(handler);
}

void RunLoop::unwatch(int fd) {
  if (watches_.erase(fd)) epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
}

bool RunLoop::dispatchReadyFds() {
  // What the last wait found, or what is ready now. Copied: a handler may run a nested loop.
  epoll_event ready[32];
  int count = readyCount_;
  if (count > 0) {
    std::copy(ready_, ready_ + count, ready);
    readyCount_ = 0;
  } else {
    count = epoll_wait(epoll_, ready, 32, 0);
  }
  bool ran = false;
  for (int i = 0; i < count; ++i) {
    int fd = ready[i].data.fd;
    if (fd == wakeFd_) {
      std::uint64_t signals;
      (void)!read(wakeFd_, &signals, sizeof signals);
      continue;
    }
    // An earlier handler of this round may have stopped watching it.
    auto it = watches_.find(fd);
    if (it == watches_.end()) continue;
    std::uint32_t e = ready[i].events;
    int events = ((e & EPOLLIN) ? kReadable : 0) | ((e & EPOLLOUT) ? kWritable : 0) |
                 ((e & (EPOLLERR | EPOLLHUP)) ? kFdError : 0);
    FdHandler handler = it->second;  // the handler may unwatch its own descriptor
    handler(events);
    ran = true;
  }
  return ran;
}

void RunLoop::waitForWork(double seconds) {
  double whole = std::floor(seconds);
  timespec timeout{static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
  int count = epoll_pwait2(epoll_, ready_, 32, seconds < 0 ? nullptr : &timeout, nullptr);
  readyCount_ = count > 0 ? count : 0;
}

void RunLoop::post(Task task) {
  std::lock_guard lock(mutex_);
  // The eventfd stays signalled while tasks wait, so one signal per empty queue is enough.
  if (posted_.empty() && turning_ != std::this_thread::get_id()) signal();
  posted_.push_back(std::move(task));
}

RunLoop::TimerId RunLoop::addTimer(double delay, double interval, Task task) {
  std::lock_guard lock(mutex_);
  TimerId id = nextId_++;
  double due = (virtual_ ? virtualNow_ : realNow() - realStart_) + (delay > 0 ? delay : 0);
  timers_.emplace(Key{due, id}, Timer{std::move(task), interval});
  timerKeys_.emplace(id, Key{due, id});
  // A new earliest timer shortens the wait of whoever is waiting.
  if (timers_.begin()->first.second == id) signal();
  return id;
}

RunLoop::TimerId RunLoop::performAfter(double seconds, Task task) {
  return addTimer(seconds, 0, std::move(task));
}

RunLoop::TimerId RunLoop::scheduleRepeating(double interval, Task task) {
  return addTimer(interval, interval > 0 ? interval : 1e-3, std::move(task));
}

void RunLoop::cancel(TimerId id) {
  std::lock_guard lock(mutex_);
  auto it = timerKeys_.find(id);
  if (it == timerKeys_.end()) return;
  timers_.erase(it->second);
  timerKeys_.erase(it);
}

// Takes the next ready piece of work: posted tasks first, then the earliest due timer.
// A repeating timer is rescheduled before it runs, so it may cancel itself.
bool RunLoop::popReady(Task& out, bool allowTimers) {
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) {
    out = std::move(posted_.front());
    posted_.pop_front();
    return true;
  }
  if (!allowTimers || timers_.empty()) return false;
  double current = virtual_ ? virtualNow_ : realNow() - realStart_;
  auto first = timers_.begin();
  if (first->first.first > current) return false;
  Key key = first->first;
  Timer timer = std::move(first->second);
  timers_.erase(first);
  if (timer.interval > 0) {
    Key next{key.first + timer.interval, key.second};
    if (next.first <= current) next.first = current + timer.interval;
    out = timer.task;
    timers_.emplace(next, std::move(timer));
    timerKeys_[key.second] = next;
  } else {
    timerKeys_.erase(key.second);
    out = std::move(timer.task);
  }
  return true;
}

bool RunLoop::runOnce() {
  return runOnce(true);
}

bool RunLoop::runOnce(bool pollFds) {
  // Work that becomes ready while this turn runs waits for the next turn, except posted tasks.
  std::thread::id outer;
  {
    std::lock_guard lock(mutex_);
    outer = std::exchange(turning_, std::this_thread::get_id());
  }
  bool ran = pollFds && dispatchReadyFds();
  size_t budget;
  {
    std::lock_guard lock(mutex_);
    budget = posted_.size() + timers_.size();
  }
  Task task;
  while (budget-- > 0 && popReady(task, true)) {
    task();
    task = nullptr;
    ran = true;
  }
  std::lock_guard lock(mutex_);
  turning_ = outer;
  return ran;
}

void RunLoop::runUntilIdle() {
  // Descriptors that become ready meanwhile are seen at the next turn or wait: checking them
  // again after every task would cost a system call each time.
  if (!runOnce(true)) return;
  while (runOnce(false)) {
  }
}

void RunLoop::runUntil(double deadline) {
  for (;;) {
    runUntilIdle();
    std::unique_lock lock(mutex_);
    if (!posted_.empty()) continue;
    if (virtual_) {
      if (outsideWork_ > 0) {
        // The work ends in a task that it posts.
        lock.unlock();
        waitForWork(-1);
        continue;
      }
      if (!timers_.empty() && timers_.begin()->first.first <= deadline) {
        if (timers_.begin()->first.first > virtualNow_) virtualNow_ = timers_.begin()->first.first;
        continue;
      }
      if (deadline > virtualNow_) virtualNow_ = deadline;
      return;
    }
    double current = realNow() - realStart_;
    if (current >= deadline) return;
    double until = deadline;
    if (!timers_.empty() && timers_.begin()->first.first < until)
      until = timers_.begin()->first.first;
    lock.unlock();
    waitForWork(until - current);
  }
}

bool RunLoop::runUntilCondition(const std::function<bool()>& done, double timeoutSeconds) {
  double realDeadline = realNow() + timeoutSeconds;
  for (;;) {
    runUntilIdle();
    if (done()) return true;
    std::unique_lock lock(mutex_);
    double current = realNow();
    if (current >= realDeadline) break;
    if (!posted_.empty()) continue;
    if (virtual_ && !timers_.empty() && outsideWork_ == 0) {
      // Nothing else can happen in virtual time until the next timer: move to it.
      virtualNow_ = std::max(virtualNow_, timers_.begin()->first.first);
      continue;
    }
    double wait = realDeadline - current;
    if (!virtual_ && !timers_.empty()) {
      wait = std::min(wait, timers_.begin()->first.first - (current - realStart_));
    }
    lock.unlock();
    waitForWork(std::max(wait, 0.0));
  }
  runUntilIdle();
  return done();
}

std::optional<double> RunLoop::secondsUntilNextWork() const {
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) return 0.0;
  if (timers_.empty()) return std::nullopt;
  double current = virtual_ ? virtualNow_ : realNow() - realStart_;
  double d = timers_.begin()->first.first - current;
  return d > 0 ? d : 0.0;
}

void RunLoop::reset() {
  std::lock_guard lock(mutex_);
  posted_.clear();
  timers_.clear();
  timerKeys_.clear();
  outsideWork_ = 0;
}

Timer Timer::once(double seconds, RunLoop::Task task, RunLoop& loop) {
  return Timer(&loop, loop.performAfter(seconds, std::move(task)));
}

Timer Timer::repeating(double interval, RunLoop::Task task, RunLoop& loop) {
  return Timer(&loop, loop.scheduleRepeating(interval, std::move(task)));
}

Timer::Timer(Timer&& other) noexcept : loop_(other.loop_), id_(other.id_) {
  other.loop_ = nullptr;
}

Timer& Timer::operator=(Timer&& other) noexcept {
  if (this != &other) {
    invalidate();
    loop_ = other.loop_;
    id_ = other.id_;
    other.loop_ = nullptr;
  }
  return *this;
}

Timer::~Timer() {
  invalidate();
}

void Timer::invalidate() {
  if (loop_) loop_->cancel(id_);
  loop_ = nullptr;
}

}  // namespace base
