// Any text as a web address: parsed, escaped for loading, and escaped as one component.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/net/Url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto url = net::Url::parse(text)) {
    // Kept as written; the address without its query and fragment is an address too.
    if (url->absoluteString() != text) __builtin_trap();
    std::string base = url->withoutQuery();
    if (!text.starts_with(base) || (!base.empty() && !net::Url::parse(base))) __builtin_trap();
  }
  // Escaping an escaped address changes nothing; a component comes back from its escape whole.
  std::string escaped = net::escapeAddress(text);
  if (net::escapeAddress(escaped) != escaped) __builtin_trap();
  if (net::unescape(net::escapeComponent(text)) != text) __builtin_trap();
  return 0;
}
