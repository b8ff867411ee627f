#include "platform/net/UrlRequest.h"

#include <algorithm>

#include "platform/base/Strings.h"

namespace net {
namespace {

bool sameField(std::string_view a, std::string_view b) {
  return a.size() == b.size() && base::toLowerAscii(a) == base::toLowerAscii(b);
}

}  // namespace

UrlRequest::UrlRequest(Url url, CachePolicy policy, double timeoutSeconds)
    : url_(std::move(url)), cachePolicy_(policy), timeout_(timeoutSeconds) {}

void UrlRequest::setValue(std::string_view field, std::string_view value) {
  for (auto& [name, current] : headers_) {
    if (sameField(name, field)) {
      current = std::string(value);
      return;
    }
  }
  headers_.emplace_back(std::string(field), std::string(value));
}

void UrlRequest::addValue(std::string_view field, std::string_view value) {
  for (auto& [name, current] : headers_) {
    if (sameField(name, field)) {
      current += ", ";
      current += value;
      return;
    }
  }
  headers_.emplace_back(std::string(field), std::string(value));
}

std::string UrlRequest::valueForHeaderField(std::string_view field) const {
  for (const auto& [name, value] : headers_) {
    if (sameField(name, field)) return value;
  }
  return {};
}

bool UrlRequest::hasHeaderField(std::string_view field) const {
  return std::any_of(headers_.begin(), headers_.end(),
                     [&](const auto& entry) { return sameField(entry.first, field); });
}

void UrlRequest::removeHeaderField(std::string_view field) {
  std::erase_if(headers_, [&](const auto& entry) { return sameField(entry.first, field); });
}

}  // namespace net
