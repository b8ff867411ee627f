#pragma once
#include <string>
#include <string_view>

// A way of signing OAuth requests: the method's name as it goes into "oauth_signature_method",
// and the signature of a base string under a signing secret.
class OASignatureProviding {
 public:
  virtual ~OASignatureProviding() = default;
  virtual std::string name() const = 0;
  virtual std::string signClearText(std::string_view text, std::string_view secret) const = 0;
};
