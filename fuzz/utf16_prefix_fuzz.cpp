// Feeds arbitrary bytes to the UTF-16 length and prefix helpers and checks that a prefix never
// exceeds its limit, stops short only before a two-unit character, and is valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/Utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t limit = data[0];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t length = base::utf16Length(text);
  std::string prefix = base::utf16Prefix(text, limit);
  size_t units = base::utf16Length(prefix);
  if (units > limit || units > length || (length <= limit && units != length)) std::abort();
  // Valid UTF-8 comes back unchanged.
  if (base::utf16Prefix(prefix, limit) != prefix) std::abort();
  if (limit > 0 && units + 1 < limit && units < length) std::abort();
  return 0;
}
