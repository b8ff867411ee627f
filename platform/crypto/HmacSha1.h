#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace crypto {

// HMAC (RFC 2104) with SHA-1.
class HmacSha1 {
 public:
  static constexpr std::size_t kDigestLength = 20;
  using Digest = std::array<std::uint8_t, kDigestLength>;

  static Digest digest(std::string_view key, std::string_view message);
};

}  // namespace crypto
