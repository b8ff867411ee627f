#include "reader/model/ColorText.h"

#include <cstdint>

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

graphics::Color toUIColor(std::string_view text) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  // Read as a hexadecimal scanner does: leading blanks skipped, an optional "0x", and a value
  // that saturates at the largest 32-bit number instead of wrapping.
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
      hexValue(text[2]) >= 0)
    text.remove_prefix(2);
  uint64_t value = 0;
  for (char c : text) {
    int digit = hexValue(c);
    if (digit < 0) break;
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > UINT32_MAX) value = UINT32_MAX + uint64_t{1};
  }
  if (value > UINT32_MAX) value = UINT32_MAX;
  return graphics::Color::rgb(static_cast<int>((value >> 16) & 0xff),
                              static_cast<int>((value >> 8) & 0xff),
                              static_cast<int>(value & 0xff));
}
