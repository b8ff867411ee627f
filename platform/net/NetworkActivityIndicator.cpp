#include "platform/net/NetworkActivityIndicator.h"

namespace net {

NetworkActivityIndicator& NetworkActivityIndicator::shared() {
  // Never destroyed: downloads on worker threads may still clear it while the process exits.
  static auto* indicator = new NetworkActivityIndicator();
  return *indicator;
}

}  // namespace net
