#pragma once
#include <string_view>

#include "platform/net/Error.h"
#include "platform/net/UrlResponse.h"

namespace net {

class UrlConnection;

// What a UrlConnection reports, on the main run loop and in this order: one or more responses,
// data, then either the end of loading or a failure. Every method is optional.
class UrlConnectionDelegate {
 public:
  virtual ~UrlConnectionDelegate() = default;
  // A (new) response has begun: its status and header fields. When a second response follows
  // (a later header block), a delegate that collects the body empties what it received so far.
  virtual void didReceiveResponse(UrlConnection&, const UrlResponse&) {}
  virtual void didReceiveData(UrlConnection&, std::string_view) {}
  virtual void didFinishLoading(UrlConnection&) {}
  // The transfer failed: no connection, time-out, connection lost… HTTP error statuses are
  // not failures; they arrive as responses.
  virtual void didFailWithError(UrlConnection&, const Error&) {}
};

}  // namespace net
