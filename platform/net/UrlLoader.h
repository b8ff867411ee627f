#pragma once
#include <cstddef>
#include <string>

#include "platform/net/Error.h"
#include "platform/net/UrlRequest.h"
#include "platform/net/UrlResponse.h"

namespace net {

// Result of a synchronous load. A response with an HTTP error status (404, 500…) is still a
// completed transfer: `error` stays 0 and the status is in `response`.
struct LoadResult {
  UrlResponse response;
  std::string body;
  Error error;
};

// Synchronous URL loading with libcurl: TLS verification on, redirects followed, the request's
// time-out applied to the whole transfer, body size capped.
class UrlLoader {
 public:
  static constexpr std::size_t kDefaultMaxBodyBytes = 16u << 20;  // 16 MiB

  // Blocks the calling thread until the transfer ends. A body larger than the cap ends it with
  // Error::DataLengthExceedsMaximum and no body.
  static LoadResult sendSynchronousRequest(const UrlRequest& request,
                                           std::size_t maxBodyBytes = kDefaultMaxBodyBytes);
};

}  // namespace net
