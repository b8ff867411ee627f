#include "platform/net/NetworkActivityIndicator.h"

#include <utility>

namespace net {

NetworkActivityIndicator& NetworkActivityIndicator::shared() {
  static NetworkActivityIndicator indicator;
  return indicator;
}

void NetworkActivityIndicator::setVisible(bool visible) {
  ChangeHandler handler;
  {
    std::lock_guard lock(mutex_);
    if (visible_ == visible) return;
    visible_ = visible;
    handler = handler_;
  }
  // Called outside the lock so the handler may read the flag.
  if (handler) handler(visible);
}

bool NetworkActivityIndicator::visible() const {
  std::lock_guard lock(mutex_);
  return visible_;
}

void NetworkActivityIndicator::setChangeHandler(ChangeHandler handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

}  // namespace net
