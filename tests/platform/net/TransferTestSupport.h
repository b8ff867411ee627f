#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "tests/support/ClosedPort.h"

namespace testing_support {

// Holds server handlers in wait() until open() (5 s at most); open it before stopping the server.
class ResponseGate {
 public:
  void wait() {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, std::chrono::seconds(5), [this] { return open_; });
  }
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

}  // namespace testing_support
