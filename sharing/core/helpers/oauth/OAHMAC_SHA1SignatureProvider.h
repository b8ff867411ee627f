#pragma once
#include "sharing/core/helpers/oauth/OASignatureProviding.h"

// "HMAC-SHA1": the HMAC-SHA1 digest of the text keyed by the secret, as Base64 (28 characters).
class OAHMAC_SHA1SignatureProvider : public OASignatureProviding {
 public:
  std::string name() const override { return "HMAC-SHA1"; }
  std::string signClearText(std::string_view text, std::string_view secret) const override;
};
