#pragma once
#include <functional>
#include <mutex>

namespace net {

// The process-wide "network in use" flag that the window shows. Thread-safe.
class NetworkActivityIndicator {
 public:
  using ChangeHandler = std::function<void(bool visible)>;

  static NetworkActivityIndicator& shared();

  void setVisible(bool visible);
  bool visible() const;
  // Called (on the thread that changed it) whenever the flag changes. Replaces the previous one.
  void setChangeHandler(ChangeHandler handler);

 private:
  mutable std::mutex mutex_;
  bool visible_ = false;
  ChangeHandler handler_;
};

}  // namespace net
