#pragma once
#include <memory>
#include <optional>
#include <string>

#include "sharing/core/SHKSharer.h"
#include "sharing/services/MailComposeViewController.h"
#include "sharing/services/MailMessage.h"

// E-mail through the account of the configuration's [mail] section: the item becomes an HTML
// message in our composer, which delivers it over SMTP. Offered only when an account is set up.
class SHKMail : public SHKSharer {
 public:
  static constexpr const char* kClassName = "SHKMail";
  static void registerService();

  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  bool canShareText() const override { return true; }
  bool canShareImage() const override { return true; }
  bool canShareFile() const override { return true; }
  bool canShare() const override { return canSendMail(); }
  bool shareRequiresInternetConnection() const override { return false; }
  bool requiresAuthentication() const override { return false; }
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override;

  // Whether a mail account is configured.
  static bool canSendMail();
  // The message for `item`: the stored "body" or one composed (and stored) from the item's
  // text, link and attachment, with the item's text, title and link escaped for HTML.
  static MailMessage messageForItem(SHKItem& item);

  bool sendMail();
  // The composer's answer: hides it, then reports the outcome.
  void mailComposeFinished(MailComposeViewController::Result result);
};
