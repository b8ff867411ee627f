#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/Error.h"
#include "platform/net/Url.h"
#include "sharing/core/SHKOAuthViewDelegate.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/core/helpers/oauth/OAConsumer.h"
#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"
#include "sharing/core/helpers/oauth/OAServiceTicket.h"
#include "sharing/core/helpers/oauth/OASignatureProviding.h"
#include "sharing/core/helpers/oauth/OAToken.h"

// The base of the share services that log in with OAuth 1.0a: a request token, the user's
// consent on the service's page (SHKOAuthView), an access token kept in the keychain, then the
// action that needed it. Also renews an expired access token and logs out. A subclass sets the
// consumer, the three endpoints and the callback, and may add parameters to the token requests.
class SHKOAuthSharer : public SHKSharer, public SHKOAuthViewDelegate {
 public:
  // Besides none and share: renew the access token, then send again.
  static constexpr int PendingRefreshToken = 2;
  static constexpr const char* kAccessKey = "accessKey";
  static constexpr const char* kAccessSecret = "accessSecret";
  static constexpr const char* kSessionHandle = "sessionHandle";

  bool isAuthorized() override { return restoreAccessToken(); }
  void promptAuthorization() override;
  // Forgets the stored token and the cookies of the authorisation page's host.
  void logout() override;
  void tryPendingAction() override;

  bool restoreAccessToken();
  void storeAccessToken();
  static void deleteStoredAccessToken(const std::string& sharerId);

  // Step 1: a request token.
  void tokenRequest();
  virtual void tokenRequestModifyRequest(OAMutableURLRequest&) {}
  void tokenRequestTicketDidFinish(const OAServiceTicket& ticket, const std::string& data);
  void tokenRequestTicketDidFail(const std::optional<SHKError>& error);

  // Step 2: the user's consent on the service's page.
  void tokenAuthorize();
  // The page's address: the authorisation page with the request token, escaped.
  std::string authorizePageAddress() const;
  void tokenAuthorizeView(SHKOAuthView& view, bool success, const QueryParams& queryParams,
                          const std::optional<SHKError>& error) override;
  void tokenAuthorizeCancelledView(SHKOAuthView& view) override;
  std::optional<net::Url> authorizeCallbackURL() const override { return authorizeCallbackURL_; }

  // Step 3: the access token, new or renewed.
  void tokenAccess() { tokenAccess(false); }
  void tokenAccess(bool refresh);
  virtual void tokenAccessModifyRequest(OAMutableURLRequest&) {}
  virtual void tokenAccessTicketDidFinish(const OAServiceTicket& ticket, const std::string& data);
  void tokenAccessTicketDidFail(const std::optional<SHKError>& error);
  void refreshToken();

  const std::string& consumerKey() const { return consumerKey_; }
  const std::string& secretKey() const { return secretKey_; }
  const std::optional<net::Url>& authorizeURL() const { return authorizeURL_; }
  const std::optional<net::Url>& accessURL() const { return accessURL_; }
  const std::optional<net::Url>& requestURL() const { return requestURL_; }
  const OAConsumer& consumer() const { return consumer_; }
  const std::optional<OAToken>& requestToken() const { return requestToken_; }
  const std::optional<OAToken>& accessToken() const { return accessToken_; }
  void setAccessToken(std::optional<OAToken> token) { accessToken_ = std::move(token); }
  const std::shared_ptr<const OASignatureProviding>& signatureProvider() const {
    return signatureProvider_;
  }
  const QueryParams& authorizeResponseQueryVars() const { return authorizeResponseQueryVars_; }

 protected:
  // A service's configuration: consumer, the callback and the three endpoints; an address that
  // does not parse is left unset.
  void configure(std::string consumerKey, std::string secretKey, const std::string& callback,
                 const std::string& authorize, const std::string& request,
                 const std::string& access);
  void setSignatureProvider(std::shared_ptr<const OASignatureProviding> provider) {
    signatureProvider_ = std::move(provider);
  }
  std::shared_ptr<SHKOAuthSharer> self() {
    return std::static_pointer_cast<SHKOAuthSharer>(shared_from_this());
  }
  // Whether a new access token is asked for without a request token (a login with name and
  // password instead of the page).
  virtual bool accessWithoutRequestToken() const { return false; }
  // The transfer error of a fetcher as the framework's error.
  static std::optional<SHKError> errorOf(const std::optional<net::Error>& error);

 private:
  std::shared_ptr<OAMutableURLRequest> tokenCall(const net::Url& url, std::optional<OAToken> token);

  std::string consumerKey_;
  std::string secretKey_;
  std::optional<net::Url> authorizeCallbackURL_;
  std::optional<net::Url> authorizeURL_;
  std::optional<net::Url> accessURL_;
  std::optional<net::Url> requestURL_;
  OAConsumer consumer_;
  std::optional<OAToken> requestToken_;
  std::optional<OAToken> accessToken_;
  std::shared_ptr<const OASignatureProviding> signatureProvider_;
  QueryParams authorizeResponseQueryVars_;
};
