#include "sharing/core/helpers/oauth/OAHMAC_SHA1SignatureProvider.h"

#include "platform/crypto/Base64.h"
#include "platform/crypto/HmacSha1.h"

std::string OAHMAC_SHA1SignatureProvider::signClearText(std::string_view text,
                                                        std::string_view secret) const {
  crypto::HmacSha1::Digest digest = crypto::HmacSha1::digest(secret, text);
  // 28 characters: well below one 72-character line, so no line break.
  char out[32];
  std::size_t written = 0;
  crypto::Base64::encode(digest.data(), digest.size(), out, sizeof out, written);
  return std::string(out, written);
}
