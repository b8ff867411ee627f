#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"

namespace httplib {
struct Response;
}

// An OAuth 1.0a provider for one share service in the sandbox: request token, an authorisation
// page with an "Allow" button that redirects to the callback, access token, refresh of an access
// token with its session handle, and expiry of every access token on demand
// ("POST <authorize path>/expire"), xAuth logins when asked for (an access call with
// x_auth_username, x_auth_password and x_auth_mode=client_auth instead of a token), and the secrets
// of the tokens it holds for checking recorded calls afterwards ("GET <authorize path>/tokens", a
// form). Every signature it receives is checked (HMAC-SHA1 or PLAINTEXT, against the consumer key
// and secret configured for the service); a wrong one is answered 401. The service's API routes
// check their calls with verify().
class SandboxOAuthProvider : public std::enable_shared_from_this<SandboxOAuthProvider> {
 public:
  struct Options {
    std::string service;        // class name, e.g. "SHKTwitter"
    std::string host;           // host key of the three endpoints
    std::string requestPath;    // e.g. "/oauth/request_token"
    std::string authorizePath;  // the page; POST to it is the "Allow" button
    std::string accessPath;
    bool requireVerifier = false;  // the access call must carry the redirect's oauth_verifier
    bool sessionHandles = false;   // access tokens come with a session handle for refresh
    bool xAuth = false;  // an access call without a token may log in with name and password
  };

  // One signed call as the provider read it.
  struct Signed {
    std::map<std::string, std::string> oauth;  // decoded oauth_* parameters, without the signature
    std::vector<std::pair<std::string, std::string>> parameters;  // query and form body, decoded
  };

  explicit SandboxOAuthProvider(Options options);

  // Adds the provider's routes to `sandbox`; they keep the provider alive.
  void install(ServiceSandbox& sandbox);

  // Checks a call signed with an access token. False with the answer set (401) when the
  // signature is wrong, the token unknown, or the token expired ("oauth_problem=token_expired").
  bool verify(const SandboxRequest& request, httplib::Response& response, Signed* out = nullptr);

  // Reads and checks the signature of `request` made with `tokenSecret` ("" for none); the
  // parameters in `out`. Public for tests of the checker itself.
  static bool checkSignature(const SandboxRequest& request, const std::string& consumerSecret,
                             const std::string& tokenSecret, Signed& out);
  // "OAuth a="1", b="2"" (as the server gives it: values already decoded) into its parameters;
  // nothing when it is no OAuth header.
  static std::optional<std::map<std::string, std::string>> parseAuthorization(
      const std::string& header);

 private:
  struct Token {
    std::string secret;
    std::string callback;
    std::string verifier;
    std::string sessionHandle;
    bool authorized = false;
    bool access = false;
    bool expired = false;
    bool used = false;  // exchanged or refreshed
  };

  void requestToken(const SandboxRequest& request, httplib::Response& response);
  void authorizePage(const SandboxRequest& request, httplib::Response& response);
  void allow(const SandboxRequest& request, httplib::Response& response);
  void accessToken(const SandboxRequest& request, httplib::Response& response);
  void xAuthLogin(const SandboxRequest& request, httplib::Response& response);
  void expire(const SandboxRequest& request, httplib::Response& response);
  void listTokens(const SandboxRequest& request, httplib::Response& response);
  bool checkConsumer(const SandboxRequest& request, const std::string& tokenSecret, Signed& out,
                     httplib::Response& response);
  std::string issue(Token token);

  Options options_;
  std::mutex mutex_;
  std::map<std::string, Token> tokens_;
  unsigned serial_ = 0;
};
