#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/net/Url.h"

namespace net {

// What to load and how: address, method, header fields, body and time-out.
class UrlRequest {
 public:
  enum class CachePolicy {
    UseProtocolCachePolicy = 0,
    ReloadIgnoringLocalCacheData = 1,
    ReturnCacheDataElseLoad = 2,
    ReturnCacheDataDontLoad = 3,
    ReloadIgnoringLocalAndRemoteCacheData = 4,
  };
  using HeaderFields = std::vector<std::pair<std::string, std::string>>;

  static constexpr double kDefaultTimeoutSeconds = 60.0;

  UrlRequest() = default;
  explicit UrlRequest(Url url, CachePolicy policy = CachePolicy::UseProtocolCachePolicy,
                      double timeoutSeconds = kDefaultTimeoutSeconds);

  const Url& url() const { return url_; }
  void setUrl(Url url) { url_ = std::move(url); }

  // "GET" unless set otherwise.
  const std::string& httpMethod() const { return method_; }
  void setHttpMethod(std::string method) { method_ = std::move(method); }

  // Header fields in the order first set. Field names compare case-insensitively.
  const HeaderFields& allHeaderFields() const { return headers_; }
  // Replaces the field's value (or adds the field).
  void setValue(std::string_view field, std::string_view value);
  // Appends to an existing field's value after ", " (or adds the field).
  void addValue(std::string_view field, std::string_view value);
  // The field's value, or "" when absent.
  std::string valueForHeaderField(std::string_view field) const;
  bool hasHeaderField(std::string_view field) const;
  void removeHeaderField(std::string_view field);

  const std::string& httpBody() const { return body_; }
  void setHttpBody(std::string body) { body_ = std::move(body); }

  CachePolicy cachePolicy() const { return cachePolicy_; }
  void setCachePolicy(CachePolicy policy) { cachePolicy_ = policy; }

  double timeoutInterval() const { return timeout_; }
  void setTimeoutInterval(double seconds) { timeout_ = seconds; }

 private:
  Url url_;
  std::string method_ = "GET";
  HeaderFields headers_;
  std::string body_;
  CachePolicy cachePolicy_ = CachePolicy::UseProtocolCachePolicy;
  double timeout_ = kDefaultTimeoutSeconds;
};

}  // namespace net
