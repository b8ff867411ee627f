#pragma once
#include <chrono>
#include <future>
#include <mutex>

#include "tests/support/ClosedPort.h"

namespace testing_support {

// Holds server handlers in wait() until open() (5 s at most); open it before stopping the server.
class ResponseGate {
 public:
  void wait() { opened_.wait_for(std::chrono::seconds(5)); }
  void open() {
    std::call_once(once_, [this] { promise_.set_value(); });
  }

 private:
  std::promise<void> promise_;
  std::shared_future<void> opened_ = promise_.get_future().share();
  std::once_flag once_;
};

}  // namespace testing_support
