// Any text as the query of a signed GET request: every parameter read from it survives being
// written into the address and read again, and the request signs.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view query(reinterpret_cast<const char*>(data), size);
  auto url = net::Url::parse("http://h/p?" + net::escapeAddress(query));
  if (!url) return 0;
  OAMutableURLRequest request(*url, OAConsumer("k", "s"), std::nullopt, std::nullopt, nullptr, "n",
                              "1");
  request.setHttpMethod("GET");
  auto parameters = request.parameters().value_or(std::vector<OARequestParameter>());
  request.setParameters(parameters);
  if (request.parameters().value_or(std::vector<OARequestParameter>()) != parameters)
    __builtin_trap();
  request.prepare();
  return 0;
}
