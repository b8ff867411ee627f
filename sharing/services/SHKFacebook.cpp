#include "sharing/services/SHKFacebook.h"

#include "facebook/FBLoginDialog.h"
#include "facebook/FBPermissionDialog.h"
#include "facebook/FBRequest.h"
#include "facebook/FBSession.h"
#include "platform/base/Localization.h"
#include "platform/base/RunLoop.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/services/SHKFBStreamDialog.h"

void SHKFacebook::registerService() {
  SHKSharer::registerClass(kClassName, [] { return std::make_shared<SHKFacebook>(); });
}

FBHosts SHKFacebook::configuredHosts() {
  const SHKServiceConfig& config = SHKServiceConfig::shared();
  FBHosts hosts;
  hosts.api = config.value(kClassName, "api");
  hosts.video = config.value(kClassName, "video");
  hosts.web = config.value(kClassName, "web");
  // The site's cookies belong to the web host's domain ("www." aside).
  std::string host = FBHosts::hostOf(hosts.web);
  hosts.cookieDomain = host.starts_with("www.") ? host.substr(4) : host;
  return hosts;
}

std::string SHKFacebook::attachmentFor(const SHKItem& item) {
  std::optional<std::string> url;
  if (item.url()) url = item.url()->absoluteString();
  std::string name = item.title() ? SHK::encodeFormValue(item.title()) : SHK::encodeURL(url);
  return "{\t\t\t\t\t\t\t \"name\":\"" + name + "\",\t\t\t\t\t\t\t \"href\":\"" +
         SHK::encodeURL(url) + "\"\t\t\t\t\t\t\t }";
}

std::string SHKFacebook::actionLinks() {
  return "[{\"text\":\"Get " + SHK::encodeFormValue(std::string(kApplicationName)) +
         "\",\"href\":\"" + SHK::encodeFormValue(std::string(kApplicationURL)) + "\"}]";
}

std::shared_ptr<FBSession> SHKFacebook::applicationSession() {
  if (auto shared = FBSession::session()) return shared;
  const SHKServiceConfig& config = SHKServiceConfig::shared();
  auto session =
      FBSession::create(config.value(kClassName, "api_key"), config.value(kClassName, "api_secret"),
                        std::nullopt, configuredHosts());
  session->resume();
  return session;
}

SHKFacebook::SHKFacebook() = default;

SHKFacebook::~SHKFacebook() {
  if (session_) session_->removeDelegate(this);
  if (auto dialog = dialog_.lock()) dialog->setDelegate(nullptr);
  if (login_) login_->setDelegate(nullptr);
}

std::shared_ptr<FBSession> SHKFacebook::makeSession() {
  const SHKServiceConfig& config = SHKServiceConfig::shared();
  return FBSession::sessionForApplication(config.value(kClassName, "api_key"),
                                          config.value(kClassName, "api_secret"), this,
                                          configuredHosts());
}

bool SHKFacebook::isAuthorized() {
  if (session_) return session_->isConnected();
  session_ = makeSession();
  return session_->resume();
}

void SHKFacebook::promptAuthorization() {
  if (!session_) session_ = makeSession();
  pendingFacebookAction_ = Login;
  hold();
  login_ = std::make_shared<FBLoginDialog>(session_);
  // Only its failure is heard here: a log-in arrives through the session, a closed panel ends
  // the share without a word.
  login_->setDelegate(this);
  login_->show();
}

bool SHKFacebook::send() {
  if (!session_) session_ = makeSession();
  std::shared_ptr<FBDialog> dialog;
  switch (item()->shareType()) {
    case SHKShareTypeURL:
    case SHKShareTypeText: {
      pendingFacebookAction_ = Publish;
      auto stream = std::make_shared<SHKFBStreamDialog>(session_);
      if (item()->shareType() == SHKShareTypeURL) {
        stream->setUserMessagePrompt(base::localized("Enter your message:"));
        stream->setAttachment(attachmentFor(*item()));
      } else {
        // This prompt is not looked up in the text catalogue.
        stream->setUserMessagePrompt("Enter your message:");
      }
      stream->setDefaultStatus(item()->text());
      stream->setActionLinks(actionLinks());
      dialog = stream;
      break;
    }
    case SHKShareTypeImage: {
      pendingFacebookAction_ = Permission;
      auto permission = std::make_shared<FBPermissionDialog>(session_);
      permission->setPermission("photo_upload");
      dialog = permission;
      break;
    }
    default:
      return true;
  }
  dialog->setDelegate(this);
  dialog_ = dialog;
  hold();
  dialog->show();
  return true;
}

void SHKFacebook::sendImage() {
  sendDidStart();
  FBRequest::Params params;
  if (item()->title()) params["caption"] = *item()->title();
  std::string jpeg = item()->image() ? item()->image()->jpegData(1.0) : std::string();
  FBRequest::requestWithSession(session_, this)
      ->call("facebook.photos.upload", params, FBDataParam(std::move(jpeg)));
}

void SHKFacebook::logout() {
  SHKSharer::logout();
  if (!session_) session_ = makeSession();
  session_->logout();
}

void SHKFacebook::sessionDidLogin(FBSession&, FBUid) {
  login_.reset();
  if (pendingFacebookAction_ != Login) return;
  pendingFacebookAction_ = None;
  // The share takes its own hold when it shows its page.
  release();
  share();
}

void SHKFacebook::sessionDidNotLogin(FBSession&) {
  // The log-in panel closed without a log-in: nothing more happens.
  login_.reset();
  if (pendingFacebookAction_ == Login) release();
}

bool SHKFacebook::isSharePanel(const FBDialog& dialog) const {
  return dialog_.lock().get() == &dialog;
}

void SHKFacebook::dialogDidSucceed(FBDialog& dialog) {
  if (!isSharePanel(dialog)) return;
  if (pendingFacebookAction_ == Publish) {
    sendDidFinish();
  } else if (pendingFacebookAction_ == Permission) {
    sendImage();
  }
  release();
}

void SHKFacebook::dialogDidCancel(FBDialog& dialog) {
  if (!isSharePanel(dialog)) return;
  // A cancelled permission page ends the share without a word.
  if (pendingFacebookAction_ == Publish) sendDidCancel();
  release();
}

void SHKFacebook::dialogDidFailWithError(FBDialog& dialog, const net::Error& error) {
  // A log-in page that does not load, or a log-in the site does not take, fails the share too.
  if (isSharePanel(dialog) || pendingFacebookAction_ == Login) {
    sendDidFailWithError(SHKError{SHKError::kDomain, SHKError::kCode, error.description()});
  }
  release();
}

void SHKFacebook::requestDidLoad(FBRequest& request, const FBValue&) {
  if (request.method() == "facebook.photos.upload") sendDidFinish();
}

void SHKFacebook::requestDidFailWithError(FBRequest&, const FBError& error) {
  sendDidFailWithError(SHKError{SHKError::kDomain, SHKError::kCode, error.description});
}

void SHKFacebook::hold() {
  if (!hold_) hold_ = weak_from_this().lock();
}

void SHKFacebook::release() {
  // Let go on the next turn: the caller may still be inside one of this service's calls.
  if (auto keep = std::move(hold_)) {
    base::RunLoop::main().performAfter(0, [keep = std::move(keep)]() mutable { keep.reset(); });
  }
}
