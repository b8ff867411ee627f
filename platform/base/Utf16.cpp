#include "platform/base/Utf16.h"

namespace base {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// One step through UTF-8: the code point's length in bytes (at least 1) and whether the bytes
// form a valid encoding (shortest form, no surrogates, at most U+10FFFF). An invalid sequence
// is its longest valid-looking start, so the replacement covers one maximal bad subpart.
struct Step {
  size_t bytes;
  bool valid;
  size_t units;  // UTF-16 units: 2 above U+FFFF, else 1 (the replacement is 1)
};

Step step(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) return {1, true, 1};
  size_t need;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    if (b0 == 0xE0) lo = 0xA0;  // overlong
    if (b0 == 0xED) hi = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    if (b0 == 0xF0) lo = 0x90;  // overlong
    if (b0 == 0xF4) hi = 0x8F;  // above U+10FFFF
  } else {
    return {1, false, 1};
  }
  for (size_t k = 1; k <= need; ++k) {
    if (i + k >= s.size()) return {k, false, 1};
    unsigned char c = byte(i + k);
    if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return {k, false, 1};
  }
  return {need + 1, true, need == 3 ? size_t{2} : size_t{1}};
}

}  // namespace

size_t utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (size_t i = 0; i < utf8.size();) {
    Step st = step(utf8, i);
    units += st.units;
    i += st.bytes;
  }
  return units;
}

std::string utf16Prefix(std::string_view utf8, size_t maxUnits) {
  std::string out;
  size_t units = 0;
  for (size_t i = 0; i < utf8.size();) {
    Step st = step(utf8, i);
    if (units + st.units > maxUnits) break;
    units += st.units;
    if (st.valid) {
      out.append(utf8.substr(i, st.bytes));
    } else {
      out.append(kReplacement);
    }
    i += st.bytes;
  }
  return out;
}

}  // namespace base
