// Any address a page navigates to: the callback test and the query reading take it, and a
// match always shares the callback's scheme and host.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sharing/core/SHKOAuthView.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto address = net::Url::parse(net::escapeAddress(text));
  if (!address) return 0;
  static const net::Url callback = *net::Url::parse("http://news.example/oauthcallback");
  bool matches = SHKOAuthView::matchesCallback(*address, callback);
  if (matches && address->host().size() != callback.host().size()) __builtin_trap();
  auto params = SHKOAuthView::queryParameters(*address);
  if (params.has_value() != address->query().has_value()) __builtin_trap();
  return 0;
}
