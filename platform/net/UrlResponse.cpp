#include "platform/net/UrlResponse.h"

#include "platform/base/Strings.h"

namespace net {

void UrlResponse::addHeaderField(std::string name, std::string value) {
  headers_.emplace_back(std::move(name), std::move(value));
}

std::string UrlResponse::valueForHeaderField(std::string_view field) const {
  std::string wanted = base::toLowerAscii(field);
  for (const auto& [name, value] : headers_) {
    if (base::toLowerAscii(name) == wanted) return value;
  }
  return {};
}

}  // namespace net
