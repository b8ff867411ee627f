#pragma once
// Helpers for tests of transfers against a loopback server: a port nothing listens on, and a
// gate that holds a handler's response back while the test cancels or times out the transfer.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "tests/support/ClosedPort.h"

namespace testing_support {

// Server handlers wait() here until open() is called, five seconds at most. Open it before
// stopping the server, or its stop waits for every held handler.
class ResponseGate {
 public:
  void wait() {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, std::chrono::seconds(5), [this] { return open_; });
  }
  void open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

}  // namespace testing_support
