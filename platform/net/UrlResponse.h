#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/net/Url.h"

namespace net {

// The head of a loaded response: status, header fields, the final address after redirects and the
// announced body length.
class UrlResponse {
 public:
  using HeaderFields = std::vector<std::pair<std::string, std::string>>;

  // 0 until a status line arrived.
  int statusCode() const { return status_; }
  void setStatusCode(int status) { status_ = status; }

  // Header fields of the final response, in arrival order.
  const HeaderFields& allHeaderFields() const { return headers_; }
  void addHeaderField(std::string name, std::string value);
  void clearHeaderFields() { headers_.clear(); }
  // First value of the field (name compared case-insensitively), or "" when absent.
  std::string valueForHeaderField(std::string_view field) const;

  const Url& url() const { return url_; }
  void setUrl(Url url) { url_ = std::move(url); }

  // Content-Length when announced, else -1.
  std::int64_t expectedContentLength() const { return expectedLength_; }
  void setExpectedContentLength(std::int64_t length) { expectedLength_ = length; }

 private:
  int status_ = 0;
  HeaderFields headers_;
  Url url_;
  std::int64_t expectedLength_ = -1;
};

}  // namespace net
