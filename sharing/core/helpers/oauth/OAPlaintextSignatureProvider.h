#pragma once
#include "sharing/core/helpers/oauth/OASignatureProviding.h"

// "PLAINTEXT": the signature is the signing secret itself.
class OAPlaintextSignatureProvider : public OASignatureProviding {
 public:
  std::string name() const override { return "PLAINTEXT"; }
  std::string signClearText(std::string_view text, std::string_view secret) const override;
};
