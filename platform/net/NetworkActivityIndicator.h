#pragma once
#include <atomic>

namespace net {

// The process-wide "network in use" flag that the window shows. Thread-safe.
class NetworkActivityIndicator {
 public:
  static NetworkActivityIndicator& shared();

  void setVisible(bool visible) { visible_.store(visible); }
  bool visible() const { return visible_.load(); }

 private:
  std::atomic<bool> visible_{false};
};

}  // namespace net
