#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/net/Url.h"
#include "sharing/config/SHKServiceConfig.h"

// Reads the input as the configuration file and checks that whatever it accepts keeps every
// share-service host on https, or on http to this machine.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  SHKServiceConfig config;
  std::vector<std::string> errors, warnings;
  if (!config.read(text, "f", errors, warnings)) return 0;
  for (const auto& service : SHKServiceConfig::services()) {
    for (const auto& key : service.keys) {
      if (key.kind != SHKServiceConfig::Kind::Host) continue;
      auto url = net::Url::parse(config.value(service.name, key.name));
      if (!url) std::abort();
      std::string scheme = url->scheme();
      for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (scheme != "https" && !(scheme == "http" && SHKServiceConfig::isLoopback(url->host()))) {
        std::abort();
      }
    }
  }
  return 0;
}
