// The auth token of any address: it is a non-empty part of the address's query that follows
// "auth_token=" and holds no "&" or "#". The test cookie's domain of any web address comes out
// too, without crashing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "facebook/FBDialog.h"
#include "facebook/FBLoginDialog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string url(reinterpret_cast<const char*>(data), size);
  if (auto token = FBLoginDialog::authToken(url)) {
    if (token->empty() || token->find_first_of("&#") != std::string::npos) std::abort();
    size_t query = url.find('?');
    if (query == std::string::npos || url.find("auth_token=" + *token, query) == std::string::npos)
      std::abort();
  }
  FBDialog::testCookieDomain(url, "facebook.com");
  return 0;
}
