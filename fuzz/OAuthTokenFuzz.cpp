#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"
#include "sharing/core/helpers/oauth/OAToken.h"

// Reads the input as a token response and as a form body, and checks that every parameter read
// from the body survives being written and read again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view body(reinterpret_cast<const char*>(data), size);
  OAToken token = OAToken::fromHTTPResponseBody(body);
  (void)token.hasKey();

  OAMutableURLRequest request(*net::Url::parse("http://h/p"), OAConsumer("k", "s"), token,
                              std::nullopt, nullptr, "n", "1");
  request.setHttpMethod("POST");
  request.setHttpBody(std::string(body));
  auto parameters = request.parameters().value_or(std::vector<OARequestParameter>());
  request.setParameters(parameters);
  if (request.parameters().value_or(std::vector<OARequestParameter>()) != parameters) std::abort();
  request.prepare();
  return 0;
}
