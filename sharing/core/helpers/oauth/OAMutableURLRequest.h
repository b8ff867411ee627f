#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/UrlRequest.h"
#include "sharing/core/helpers/oauth/OAConsumer.h"
#include "sharing/core/helpers/oauth/OARequestParameter.h"
#include "sharing/core/helpers/oauth/OASignatureProviding.h"
#include "sharing/core/helpers/oauth/OAToken.h"

// A request signed with OAuth 1.0a. Configure it completely (method, parameters or body, header
// fields, extra OAuth parameters), then call prepare() once: it signs what is there and sets the
// "Authorization" header. Later changes are sent but not covered by the signature.
class OAMutableURLRequest : public net::UrlRequest {
 public:
  static constexpr double kTimeoutSeconds = 10.0;

  // No token means the empty token, no realm the empty realm, no provider HMAC-SHA1. The nonce
  // and the timestamp are generated here, so they are fixed from creation on.
  OAMutableURLRequest(net::Url url, OAConsumer consumer, std::optional<OAToken> token = {},
                      std::optional<std::string> realm = {},
                      std::shared_ptr<const OASignatureProviding> signatureProvider = {});
  // The same with a given nonce and timestamp.
  OAMutableURLRequest(net::Url url, OAConsumer consumer, std::optional<OAToken> token,
                      std::optional<std::string> realm,
                      std::shared_ptr<const OASignatureProviding> signatureProvider,
                      std::string nonce, std::string timestamp);

  const OAConsumer& consumer() const { return consumer_; }
  const OAToken& token() const { return token_; }
  const std::string& realm() const { return realm_; }
  const OASignatureProviding& signatureProvider() const { return *signatureProvider_; }
  const std::string& nonce() const { return nonce_; }
  const std::string& timestamp() const { return timestamp_; }
  // Empty until prepare() ran.
  const std::string& signature() const { return signature_; }
  bool didPrepare() const { return didPrepare_; }

  // Further "oauth_*" protocol parameters by name (oauth_callback, oauth_verifier…); a later
  // value replaces an earlier one. A call without a name or a value is logged and ignored.
  void setOAuthParameterName(const std::optional<std::string>& name,
                             const std::optional<std::string>& value);
  const std::map<std::string, std::string>& extraOAuthParameters() const {
    return extraOAuthParameters_;
  }

  // The request's own parameters, decoded, in order: the query of a GET or DELETE, the form
  // body of any other method. Nothing when that source is missing or empty.
  std::optional<std::vector<OARequestParameter>> parameters() const;
  // Writes parameters, encoded, into the query (GET, DELETE; an earlier query is dropped) or as
  // a form body with its "Content-Length" and "Content-Type". Set the method first.
  void setParameters(const std::vector<OARequestParameter>& parameters);

  // Signs and sets "Authorization"; acts on the first call only.
  void prepare();

  // What the signature covers: method, encoded base URL and the encoded, sorted parameters.
  std::string signatureBaseString() const;

 private:
  static std::string generateTimestamp();
  static std::string generateNonce();

  OAConsumer consumer_;
  OAToken token_;
  std::string realm_;
  std::string signature_;
  std::shared_ptr<const OASignatureProviding> signatureProvider_;
  std::string nonce_;
  std::string timestamp_;
  std::map<std::string, std::string> extraOAuthParameters_;
  bool didPrepare_ = false;
};
