#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/net/UrlRequest.h"
#include "sharing/core/SHKSharer.h"

// Shares links with a note to Google Reader: a session from the account service, a token from
// Reader, then the post. A send without a session logs in first and resumes after the answer,
// reporting its start once.
class SHKGoogleReader : public SHKSharer {
 public:
  using Session = std::map<std::string, std::string>;

  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  std::optional<std::string> authorizationFormCaption() const override;
  std::vector<SHKFormFieldSettings> authorizationFormFields() const override;
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type) override;

  void authorizationFormValidate(SHKFormController& form) override;
  bool send() override;

  // The key/value lines of a login answer. Lines that would not make a safe cookie (control
  // characters, ";" or ",") or are not exactly one "key=value" with a key are left out.
  static Session parseSession(std::string_view answer);
  // The header fields of a signed request: the session as its Cookie header and the Auth value
  // as GoogleLogin authorization.
  static net::UrlRequest::HeaderFields signatureFields(const Session& session);

  const std::optional<Session>& session() const { return session_; }
  bool sendAfterLogin() const { return sendAfterLogin_; }

 private:
  // Starts the login; false when the service has no address.
  bool getSession(const std::string& email, const std::string& password);
  void authFinished(SHKRequest& request);
  void tokenFinished(SHKRequest& request);
  void sendWithToken(const std::string& token);
  void sendFinished(SHKRequest& request);
  void start(net::Url url, std::optional<std::string> params,
             void (SHKGoogleReader::*finished)(SHKRequest&), bool sign);

  std::optional<Session> session_;
  bool sendAfterLogin_ = false;
};
