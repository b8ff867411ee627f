#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace crypto {

// Base64 with the standard alphabet and "=" padding, broken into lines: a carriage return and a
// line feed follow every 72 output characters.
class Base64 {
 public:
  static constexpr std::size_t kLineLength = 72;

  // Characters needed for `byteCount` bytes: ceil(n / 3) * 4, plus 2 for every full line of 72.
  static std::size_t encodedLength(std::size_t byteCount);

  // Encodes into `out` (no terminating NUL). When `outSize` is smaller than encodedLength(), writes
  // nothing and returns false; otherwise stores the number of characters written in `written`.
  static bool encode(const void* bytes, std::size_t byteCount, char* out, std::size_t outSize,
                     std::size_t& written);

  static std::string encode(std::string_view bytes);
};

}  // namespace crypto
