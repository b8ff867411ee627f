#include "platform/base/OperationQueue.h"

#include <algorithm>

namespace base {

OperationQueue::OperationQueue(size_t maxConcurrent)
    : maxConcurrent_(std::max<size_t>(1, maxConcurrent)) {}

OperationQueue::~OperationQueue() {
  std::unique_lock lock(mutex_);
  stopping_ = true;
  waiting_.clear();
  idle_.wait(lock, [this] { return workers_ == 0; });
}

void OperationQueue::addOperation(Operation operation) {
  std::lock_guard lock(mutex_);
  if (stopping_) return;
  waiting_.push_back(std::move(operation));
  if (workers_ < maxConcurrent_ && workers_ < waiting_.size() + running_) {
    ++workers_;
    peak_ = std::max(peak_, workers_);
    // Workers are detached: the queue may live as long as the process (the offline queue's
    // does), so nothing would join them; the destructor waits for them instead.
    std::thread([this] { work(); }).detach();
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
  idle_.notify_all();
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
