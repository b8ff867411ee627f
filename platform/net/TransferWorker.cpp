#include "platform/net/TransferWorker.h"

#include "platform/base/RunLoop.h"
#include "platform/net/Initialize.h"

namespace net {

TransferWorker& TransferWorker::shared() {
  // The main run loop is made first so that it outlives the worker, which posts to it.
  base::RunLoop::main();
  static TransferWorker worker;
  return worker;
}

TransferWorker::TransferWorker() {
  initialize();
  multi_ = curl_multi_init();
  thread_ = std::thread([this] { run(); });
}

TransferWorker::~TransferWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  curl_multi_wakeup(multi_);
  thread_.join();
  for (auto& [easy, transfer] : running_) curl_multi_remove_handle(multi_, easy);
  running_.clear();
  curl_multi_cleanup(multi_);
}

void TransferWorker::add(std::shared_ptr<ConnectionTransfer> transfer) {
  {
    std::lock_guard lock(mutex_);
    toAdd_.push_back(std::move(transfer));
  }
  curl_multi_wakeup(multi_);
}

void TransferWorker::remove(const std::shared_ptr<ConnectionTransfer>& transfer) {
  {
    std::lock_guard lock(mutex_);
    toRemove_.push_back(transfer);
  }
  curl_multi_wakeup(multi_);
}

void TransferWorker::takeCommands() {
  std::vector<std::shared_ptr<ConnectionTransfer>> adding, removing;
  {
    std::lock_guard lock(mutex_);
    adding.swap(toAdd_);
    removing.swap(toRemove_);
  }
  for (auto& transfer : adding) {
    if (transfer->cancelled()) continue;
    transfer->setOutbox(&outbox_);
    if (transfer->setupError()) {
      transfer->setEnded();
      transfer->failed(transfer->setupError());
      continue;
    }
    CURL* easy = transfer->easy();
    if (curl_multi_add_handle(multi_, easy) != CURLM_OK) {
      transfer->setEnded();
      transfer->failed(Error(Error::kDomain, Error::Unknown, "Could not start a transfer"));
      continue;
    }
    running_.emplace(easy, std::move(transfer));
  }
  for (auto& transfer : removing) {
    if (running_.count(transfer->easy())) drop(transfer->easy());
  }
}

void TransferWorker::drop(CURL* easy) {
  curl_multi_remove_handle(multi_, easy);
  running_.erase(easy);
}

void TransferWorker::collectFinished() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    CURL* easy = message->easy_handle;
    CURLcode code = message->data.result;
    auto it = running_.find(easy);
    if (it == running_.end()) continue;
    std::shared_ptr<ConnectionTransfer> transfer = it->second;
    drop(easy);
    transfer->setEnded();
    if (!transfer->cancelled()) transfer->finished(code);
  }
}

void TransferWorker::postReports() {
  if (outbox_.empty()) return;
  base::RunLoop::main().post([batch = std::move(outbox_)] {
    for (const auto& transfer : batch) transfer->runReports();
  });
  outbox_.clear();
}

void TransferWorker::run() {
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
    takeCommands();
    int active = 0;
    curl_multi_perform(multi_, &active);
    collectFinished();
    postReports();
    curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
  }
}

}  // namespace net
