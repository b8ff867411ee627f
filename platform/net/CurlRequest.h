#pragma once
#include <curl/curl.h>

#include "platform/net/Error.h"
#include "platform/net/UrlRequest.h"

namespace net {

// How a UrlRequest becomes a libcurl transfer: address, method and body, header fields, time-out,
// redirects followed, TLS verified, http and https only, cookies from the shared store.
class CurlRequest {
 public:
  // Sets the request's options on `easy`. The header list is returned in `headers`; the caller
  // frees it (curl_slist_free_all) after the transfer. Fails, leaving nothing to free, when the
  // request has no address or a header field that could forge others.
  static Error configure(CURL* easy, const UrlRequest& request, curl_slist*& headers);

  // The error for a failed transfer, described by libcurl's message when there is one.
  static Error errorFor(CURLcode code, const char* errorText);
};

}  // namespace net
