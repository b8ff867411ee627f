#include "sharing/services/SHKMail.h"

#include "platform/base/Localization.h"
#include "platform/base/Strings.h"
#include "platform/net/Url.h"
#include "platform/ui/NavigationController.h"
#include "sharing/core/SHK.h"

namespace {

constexpr const char* kPasswordKey = "password";

void append(std::optional<std::string>& body, const std::string& part) {
  body = body ? *body + "<br/><br/>" + part : part;
}

}  // namespace

void SHKMail::registerService() {
  SHKSharer::registerClass(kClassName, [] { return std::make_shared<SHKMail>(); });
}

std::string SHKMail::sharerTitle() const {
  return base::localized("Email");
}

bool SHKMail::canSendMail() {
  return !SHKServiceConfig::shared().mail().server.empty();
}

MailMessage SHKMail::messageForItem(SHKItem& item) {
  MailMessage message;
  std::optional<store::Plist> stored = item.customValueForKey("body");
  std::optional<std::string> body;
  if (stored) body = stored->view().asString();
  const bool compose = !body;
  if (compose && item.text()) body = base::escapeHtml(*item.text());
  if (compose && item.url())
    append(body, base::escapeHtml(net::unescape(item.url()->absoluteString())));
  if (item.data()) {
    std::string name = item.title() ? *item.title() : item.filename().value_or("");
    if (compose) append(body, base::localized("Attached: %@", base::escapeHtml(name)));
    message.attachments.push_back({item.filename().value_or("Attachment"),
                                   item.mimeType().value_or("application/octet-stream"),
                                   *item.data()});
  }
  if (item.image()) {
    std::string jpeg = item.image()->jpegData(1.0);
    message.attachments.push_back(
        {"Image.jpg", "image/jpeg", std::vector<uint8_t>(jpeg.begin(), jpeg.end())});
  }
  message.htmlBody = body.value_or("");
  if (compose) item.setCustomValue(message.htmlBody, "body");
  message.subject = item.title().value_or("");
  message.from = SHKServiceConfig::shared().mail().sender;
  return message;
}

bool SHKMail::send() {
  setQuiet(true);
  if (!validateItem()) return false;
  return sendMail();
}

bool SHKMail::sendMail() {
  auto composer = std::make_shared<MailComposeViewController>(
      messageForItem(*item()), SHKServiceConfig::shared().mail(),
      SHK::getAuthValueForKey(kPasswordKey, kClassName));
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  composer->setFinishHandler([weak](MailComposeViewController::Result result) {
    if (auto self = std::static_pointer_cast<SHKMail>(weak.lock()))
      self->mailComposeFinished(result);
  });
  composer->setPasswordStore([](const std::optional<std::string>& password) {
    if (password)
      SHK::setAuthValue(*password, kPasswordKey, kClassName);
    else
      SHK::removeAuthValueForKey(kPasswordKey, kClassName);
  });
  presentScreen(std::make_shared<ui::NavigationController>(composer));
  return true;
}

void SHKMail::mailComposeFinished(MailComposeViewController::Result result) {
  auto self = weak_from_this().lock();
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
  switch (result) {
    case MailComposeViewController::Result::Cancelled:
      sendDidCancel();
      break;
    case MailComposeViewController::Result::Saved:
    case MailComposeViewController::Result::Sent:
      sendDidFinish();
      break;
    case MailComposeViewController::Result::Failed:
      sendDidFailWithError(SHK::error("The message could not be sent"));
      break;
  }
}
