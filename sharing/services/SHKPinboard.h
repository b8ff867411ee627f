#pragma once
#include <string_view>

#include "sharing/core/SHKSharer.h"

// Saves links to Pinboard. The user name and password travel as the address's user
// information, each escaped as an address component.
class SHKPinboard : public SHKSharer {
 public:
  // The answer body of a refused login.
  static constexpr const char* kForbidden = "401 Forbidden";

  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  std::optional<std::string> authorizationFormCaption() const override;
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type) override;

  void authorizationFormValidate(SHKFormController& form) override;
  bool send() override;

  // Whether an answer leaves the login standing; a refused one reports the relogin failure.
  bool handleResponse(SHKRequest& request);

  enum class Answer { Saved, Failed, LoginRefused };
  // What an answer to a post says: refused login ("401 Forbidden"), saved (a whole 200 or 201
  // answer holding the quoted done) or failed.
  static Answer judgeSend(bool success, std::string_view body);
  // Whether a login answer accepts the login: status 200 and not "401 Forbidden".
  static bool acceptsLogin(int status, std::string_view body);

 private:
  // `path` on the API host with the credentials in front of the host.
  static std::optional<net::Url> address(const std::string& user, const std::string& password,
                                         const std::string& path);
  void authFinished(SHKRequest& request);
  void sendFinished(SHKRequest& request);
};
