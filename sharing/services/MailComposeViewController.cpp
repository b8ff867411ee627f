#include "sharing/services/MailComposeViewController.h"

#include <thread>

#include "platform/base/Localization.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "sharing/core/SHK.h"

namespace {

constexpr double kWidth = 320;
constexpr double kRow = 36;

std::string joined(const std::vector<std::string>& list) {
  std::string out;
  for (const std::string& item : list) out += (out.empty() ? "" : ", ") + item;
  return out;
}

}  // namespace

MailComposeViewController::MailComposeViewController(MailMessage message,
                                                     SHKServiceConfig::Mail account,
                                                     std::optional<std::string> storedPassword)
    : message_(std::move(message)),
      account_(std::move(account)),
      storedPassword_(std::move(storedPassword)) {
  setTitle(message_.subject.empty() ? base::localized("New Message") : message_.subject);
  navigationItem().setLeftBarButtonItem(
      ui::BarButtonItem::system(ui::BarButtonSystemItem::Cancel, [this] { cancel(); }));
  navigationItem().setRightBarButtonItem(ui::BarButtonItem::withTitle(
      base::localized("Send"), ui::BarButtonItemStyle::Done, [this] { send(); }));
}

MailComposeViewController::~MailComposeViewController() = default;

std::string MailComposeViewController::attachmentLine(const MailMessage::Attachment& a) {
  const double size = static_cast<double>(a.data.size());
  char amount[32];
  if (size < 1024)
    std::snprintf(amount, sizeof amount, "%zu B", a.data.size());
  else if (size < 1024 * 1024)
    std::snprintf(amount, sizeof amount, "%.0f KB", size / 1024);
  else
    std::snprintf(amount, sizeof amount, "%.1f MB", size / (1024 * 1024));
  return a.filename + " (" + amount + ")";
}

void MailComposeViewController::loadView() {
  ui::ViewController::loadView();
  const auto& root = view();
  root->setBackgroundColor(graphics::Color::white());
  double y = 0;
  auto row = [&](const std::string& caption, const std::string& value) {
    auto label = std::make_shared<ui::Label>(graphics::Rect{8, y, 70, kRow});
    label->setText(caption);
    label->setTextColor(graphics::Color::rgb(128, 128, 128));
    root->addSubview(label);
    auto field = std::make_shared<ui::TextField>(graphics::Rect{80, y + 4, kWidth - 88, kRow - 8});
    field->setText(value);
    root->addSubview(field);
    y += kRow;
    return field;
  };
  to_ = row(base::localized("To:"), joined(message_.to));
  cc_ = row(base::localized("Cc:"), joined(message_.cc));
  subject_ = row(base::localized("Subject:"), message_.subject);
  if (!account_.user.empty() && !storedPassword_) {
    password_ = row(base::localized("Password:"), "");
    password_->setSecureTextEntry(true);
    password_->setPlaceholder(account_.user + "@" + account_.server);
  }
  for (const auto& attachment : message_.attachments) {
    auto label = std::make_shared<ui::Label>(graphics::Rect{8, y, kWidth - 16, 24});
    label->setText(attachmentLine(attachment));
    root->addSubview(label);
    y += 24;
  }
  auto body = std::make_shared<ui::TextView>(
      graphics::Rect{0, y + 4, kWidth, std::max(60.0, root->bounds().size.height - y - 4)});
  body->setEditable(false);
  body->setText(message_.htmlBody);
  root->addSubview(body);
}

void MailComposeViewController::viewDidDisappear(bool animated) {
  ui::ViewController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
}

void MailComposeViewController::send() {
  if (sending_ || finished_) return;
  if (isViewLoaded()) {
    message_.to = MailMessage::splitAddresses(to_->text());
    message_.cc = MailMessage::splitAddresses(cc_->text());
    message_.subject = subject_->text();
  }
  message_.from = account_.sender;
  if (auto problem = message_.problem()) {
    auto alert = std::make_shared<ui::AlertView>(base::localized("Error"), *problem, nullptr,
                                                 base::localized("Close"));
    alert->show();
    return;
  }
  std::string password = storedPassword_.value_or(password_ ? password_->text() : "");
  std::vector<std::string> recipients = message_.to;
  recipients.insert(recipients.end(), message_.cc.begin(), message_.cc.end());
  SmtpDelivery::Account account{account_, password};
  sending_ = true;
  if (const auto& item = navigationItem().rightBarButtonItem()) item->setEnabled(false);
  std::weak_ptr<char> alive = alive_;
  std::thread([this, alive, account, recipients, from = message_.from, bytes = message_.build()] {
    SmtpDelivery::Result result = SmtpDelivery::send(account, from, recipients, bytes);
    base::RunLoop::main().post([this, alive, result, password = account.password] {
      if (alive.lock()) delivered(result, password);
    });
  }).detach();
}

void MailComposeViewController::delivered(const SmtpDelivery::Result& result,
                                          const std::string& password) {
  sending_ = false;
  if (const auto& item = navigationItem().rightBarButtonItem()) item->setEnabled(true);
  if (result.ok) {
    if (!account_.user.empty() && !storedPassword_ && storePassword_) storePassword_(password);
    finish(Result::Sent);
    return;
  }
  // A stored password the server refused is forgotten, so the next composer asks again.
  if (result.loginDenied && storedPassword_ && storePassword_) storePassword_(std::nullopt);
  auto alert = std::make_shared<ui::AlertView>(base::localized("Error"), result.error, nullptr,
                                               base::localized("Close"));
  alert->show();
  finish(Result::Failed);
}

void MailComposeViewController::cancel() {
  if (sending_) return;
  finish(Result::Cancelled);
}

void MailComposeViewController::finish(Result result) {
  if (finished_) return;
  finished_ = true;
  if (finish_) finish_(result);
}
