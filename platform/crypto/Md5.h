#pragma once
#include <string>
#include <string_view>

namespace crypto {

// MD5 digests (used where a service's protocol asks for them, not for security).
class Md5 {
 public:
  // The 16-byte digest as 32 lower-case hexadecimal digits.
  static std::string hexDigest(std::string_view bytes);
};

}  // namespace crypto
