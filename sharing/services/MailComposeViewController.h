#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/services/MailMessage.h"
#include "sharing/services/SmtpDelivery.h"

// The mail composer: To, Cc and Subject fields, the password field when the account has a user
// but no stored password, the attachments by name and size, and the HTML body as it will be
// sent. Send (in the navigation bar) delivers through SMTP on a worker thread; a failure is
// shown with the server's answer. The finish handler hears the result once.
class MailComposeViewController : public ui::ViewController {
 public:
  // The values of the device composer's results.
  enum class Result { Cancelled = 0, Saved = 1, Sent = 2, Failed = 3 };
  using FinishHandler = std::function<void(Result)>;
  // Stores a password that worked; nothing forgets the stored one after a refused login.
  using PasswordStore = std::function<void(const std::optional<std::string>& password)>;

  MailComposeViewController(MailMessage message, SHKServiceConfig::Mail account,
                            std::optional<std::string> storedPassword);
  ~MailComposeViewController() override;

  void setFinishHandler(FinishHandler handler) { finish_ = std::move(handler); }
  void setPasswordStore(PasswordStore store) { storePassword_ = std::move(store); }

  // "name (size)" for the attachment list.
  static std::string attachmentLine(const MailMessage::Attachment& attachment);

  void loadView() override;
  // Tells the sharing helper the composer has closed, whatever the result.
  void viewDidDisappear(bool animated) override;
  // The bar buttons' actions.
  void send();
  void cancel();

  ui::TextField* toField() const { return to_.get(); }
  ui::TextField* ccField() const { return cc_.get(); }
  ui::TextField* subjectField() const { return subject_.get(); }
  // nullptr when no password is asked for.
  ui::TextField* passwordField() const { return password_.get(); }
  const MailMessage& message() const { return message_; }
  bool isSending() const { return sending_; }

 private:
  void delivered(const SmtpDelivery::Result& result, const std::string& password);
  void finish(Result result);

  MailMessage message_;
  SHKServiceConfig::Mail account_;
  std::optional<std::string> storedPassword_;
  FinishHandler finish_;
  PasswordStore storePassword_;
  std::shared_ptr<ui::TextField> to_, cc_, subject_, password_;
  bool sending_ = false;
  bool finished_ = false;
  // Answers from the worker are dropped once the composer is gone.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};
