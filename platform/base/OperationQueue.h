#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace base {

// Runs operations on worker threads of its own, at most `maxConcurrent` at once, in the order
// they were added. An operation may block its thread (waiting for work it handed to the main
// loop); the caller's thread never waits, except in waitUntilAllOperationsAreFinished().
// Threads are made as operations need them and end when none is left to run.
class OperationQueue {
 public:
  using Operation = std::function<void()>;

  explicit OperationQueue(size_t maxConcurrent);
  // Waits for the operations already running; those not yet started are dropped.
  ~OperationQueue();
  OperationQueue(const OperationQueue&) = delete;
  OperationQueue& operator=(const OperationQueue&) = delete;

  void addOperation(Operation operation);
  // Operations waiting or running.
  size_t operationCount() const;
  void waitUntilAllOperationsAreFinished();
  // The most worker threads alive at one time so far.
  size_t peakThreadCount() const;

 private:
  void work();

  const size_t maxConcurrent_;
  mutable std::mutex mutex_;
  std::condition_variable idle_;
  std::deque<Operation> waiting_;
  size_t running_ = 0;
  size_t workers_ = 0;
  size_t peak_ = 0;
  bool stopping_ = false;
};

}  // namespace base
