#include "platform/crypto/HmacSha1.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace crypto {

HmacSha1::Digest HmacSha1::digest(std::string_view key, std::string_view message) {
  Digest out{};
  unsigned int length = 0;
  HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()),
       reinterpret_cast<const unsigned char*>(message.data()), message.size(), out.data(), &length);
  return out;
}

}  // namespace crypto
