#include "platform/base/OperationQueue.h"

#include <algorithm>

namespace base {

OperationQueue::OperationQueue(size_t maxConcurrent)
    : maxConcurrent_(std::max<size_t>(1, maxConcurrent)) {}

OperationQueue::~OperationQueue() {
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
    threads = std::move(threads_);
  }
  for (auto& thread : threads) thread.join();
}

void OperationQueue::addOperation(Operation operation) {
  std::lock_guard lock(mutex_);
  if (stopping_) return;
  waiting_.push_back(std::move(operation));
  if (workers_ < maxConcurrent_ && workers_ < waiting_.size() + running_) {
    ++workers_;
    peak_ = std::max(peak_, workers_);
    joinFinishedLocked();
    threads_.emplace_back([this] { work(); });
  }
}

void OperationQueue::work() {
  std::unique_lock lock(mutex_);
  while (!waiting_.empty() && !stopping_) {
    Operation operation = std::move(waiting_.front());
    waiting_.pop_front();
    ++running_;
    lock.unlock();
    operation();
    operation = nullptr;
    lock.lock();
    --running_;
  }
  --workers_;
  finished_.push_back(std::this_thread::get_id());
  idle_.notify_all();
}

void OperationQueue::joinFinishedLocked() {
  // A finished worker only has to return, which needs no lock, so joining it here is quick.
  for (auto id : finished_) {
    auto found = std::find_if(threads_.begin(), threads_.end(),
                              [id](const std::thread& t) { return t.get_id() == id; });
    if (found == threads_.end()) continue;
    found->join();
    threads_.erase(found);
  }
  finished_.clear();
}

size_t OperationQueue::operationCount() const {
  std::lock_guard lock(mutex_);
  return waiting_.size() + running_;
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return waiting_.empty() && running_ == 0; });
}

size_t OperationQueue::peakThreadCount() const {
  std::lock_guard lock(mutex_);
  return peak_;
}

}  // namespace base
