#include "sharing/services/ServiceAddress.h"

#include <string>

#include "sharing/config/SHKServiceConfig.h"

std::optional<net::Url> serviceAddress(std::string_view service, std::string_view host,
                                       std::string_view path) {
  std::string base = SHKServiceConfig::shared().value(service, host);
  if (base.empty()) return std::nullopt;
  return net::Url::parse(base + std::string(path));
}
