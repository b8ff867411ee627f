#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "sharing/core/SHKOAuthSharer.h"

class SHKRequest;
class SHKTwitterForm;
namespace graphics {
class Image;
}

// Posts a status to Twitter after the user edits it on the compose screen. A link is shortened
// first; a picture is uploaded to the picture host, which checks the user with Twitter through
// delegated verification headers, and its link posted with the status.
class SHKTwitter : public SHKOAuthSharer {
 public:
  static constexpr const char* kBoundary = "0xKhTmLbOuNdArY";
  static constexpr size_t kMaxPictureBytes = 700000;
  static constexpr const char* kFollowAccount = "vemonews";
  static constexpr size_t kMaxLoginErrorUnits = 300;

  SHKTwitter();

  std::string sharerTitle() const override { return "Twitter"; }
  bool canShareURL() const override { return true; }
  bool canShareText() const override { return true; }
  bool canShareImage() const override { return true; }
  // Logging in with name and password instead of the web page (xAuth). Off: nothing in the
  // program switches it on; a build whose consumer key Twitter allows xAuth may.
  bool xAuth() const { return xAuth_; }
  void setXAuth(bool on) { xAuth_ = on; }
  void promptAuthorization() override;
  std::vector<SHKFormFieldSettings> authorizationFormFields() const override;
  std::optional<std::string> authorizationFormCaption() const override;
  void authorizationFormValidate(SHKFormController& form) override;
  void tokenAccessModifyRequest(OAMutableURLRequest& request) override;
  void tokenAccessTicketDidFinish(const OAServiceTicket& ticket, const std::string& data) override;

  void show() override;
  void showTwitterForm();
  void sendForm(SHKTwitterForm& form);
  bool validate() const;
  bool send() override;

  void sendStatus();
  void sendImage();
  void shortenURL();
  void shortenURLFinished(SHKRequest& request);
  void followMe();

  // The message of a refused status update: the first "error" string member, cut at the next
  // quote; "Unknown Error" when there is none.
  static std::string errorMessage(std::string_view answer);
  // The picture's link in the host's answer: between the first "<url>" and "</url>" (any case).
  static std::optional<std::string> pictureLink(std::string_view answer);
  // The upload body: the JPEG as "media", then the status as "message".
  static std::string multipartBody(const std::string& jpeg, const std::string& status);
  // JPEG at 0.9, lowered by 0.1 while above kMaxPictureBytes (at most nine encodings).
  static std::string pictureData(const graphics::Image& image);

  std::optional<std::string> status() const;

 protected:
  bool accessWithoutRequestToken() const override { return xAuth_; }

 private:
  void setStatus(const std::string& status);
  void finishStatus(bool succeeded, const std::string& data);
  // The item's text (or title), a blank and `link`.
  std::string statusWithLink(const std::string& link) const;

  bool xAuth_ = false;
  std::string apiBase_;
  std::string shortenerBase_;
  std::string picturesBase_;
  std::string shortenerLogin_;
  std::string shortenerKey_;
};
