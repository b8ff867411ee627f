#include "sharing/core/SHKSharer.h"

#include <map>
#include <mutex>

#include "platform/base/Localization.h"
#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"

namespace {

struct Classes {
  std::mutex mutex;
  std::map<std::string, SHKSharer::Factory> factories;
};

Classes& classes() {
  static Classes* c = new Classes;
  return *c;
}

}  // namespace

void SHKSharer::registerClass(const std::string& className, Factory factory) {
  std::lock_guard lock(classes().mutex);
  classes().factories[className] = std::move(factory);
}

void SHKSharer::unregisterClass(const std::string& className) {
  std::lock_guard lock(classes().mutex);
  classes().factories.erase(className);
}

bool SHKSharer::isRegistered(const std::string& className) {
  std::lock_guard lock(classes().mutex);
  return classes().factories.contains(className);
}

std::shared_ptr<SHKSharer> SHKSharer::create(const std::string& className) {
  Factory factory;
  {
    std::lock_guard lock(classes().mutex);
    auto found = classes().factories.find(className);
    if (found != classes().factories.end()) factory = found->second;
  }
  std::shared_ptr<SHKSharer> sharer = factory ? factory() : nullptr;
  if (!sharer) {
    base::log("SHKSharer: no share service named " + className);
    return nullptr;
  }
  sharer->sharerId_ = className;
  return sharer;
}

std::shared_ptr<SHKSharer> SHKSharer::shareItem(const std::string& className,
                                                std::shared_ptr<SHKItem> item) {
  if (!item) return nullptr;
  auto sharer = create(className);
  if (!sharer) return nullptr;
  SHK::pushOnFavorites(className, item->shareType());
  sharer->setItem(std::move(item));
  sharer->share();
  return sharer;
}

std::shared_ptr<SHKSharer> SHKSharer::shareURL(const std::string& className, net::Url url,
                                               std::optional<std::string> title) {
  auto sharer = create(className);
  if (!sharer) return nullptr;
  sharer->item_->setShareType(SHKShareTypeURL);
  sharer->item_->setURL(std::move(url));
  sharer->item_->setTitle(std::move(title));
  sharer->share();
  return sharer;
}

std::shared_ptr<SHKSharer> SHKSharer::shareText(const std::string& className, std::string text) {
  auto sharer = create(className);
  if (!sharer) return nullptr;
  sharer->item_->setShareType(SHKShareTypeText);
  sharer->item_->setText(std::move(text));
  sharer->share();
  return sharer;
}

std::shared_ptr<SHKSharer> SHKSharer::shareImage(const std::string& className,
                                                 graphics::ImagePtr image,
                                                 std::optional<std::string> title) {
  auto sharer = create(className);
  if (!sharer) return nullptr;
  sharer->item_->setShareType(SHKShareTypeImage);
  sharer->item_->setImage(std::move(image));
  sharer->item_->setTitle(std::move(title));
  sharer->share();
  return sharer;
}

std::shared_ptr<SHKSharer> SHKSharer::shareFile(const std::string& className,
                                                std::vector<uint8_t> data, std::string filename,
                                                std::string mimeType,
                                                std::optional<std::string> title) {
  auto sharer = create(className);
  if (!sharer) return nullptr;
  sharer->item_->setShareType(SHKShareTypeFile);
  sharer->item_->setData(std::move(data));
  sharer->item_->setFilename(std::move(filename));
  sharer->item_->setMimeType(std::move(mimeType));
  sharer->item_->setTitle(std::move(title));
  sharer->share();
  return sharer;
}

bool SHKSharer::isServiceAuthorized(const std::string& className) {
  auto sharer = create(className);
  return sharer && sharer->isAuthorized();
}

SHKSharer::SHKSharer()
    : ui::NavigationController(nullptr), shareDelegate_(this), item_(std::make_shared<SHKItem>()) {
  setModalPresentationStyle(SHK::modalPresentationStyle());
  setModalTransitionStyle(SHK::modalTransitionStyle());
}

SHKSharer::~SHKSharer() = default;

std::vector<SHKFormFieldSettings> SHKSharer::authorizationFormFields() const {
  return {SHKFormFieldSettings::make(base::localized("Username"), "username",
                                     SHKFormFieldSettings::Text),
          SHKFormFieldSettings::make(base::localized("Password"), "password",
                                     SHKFormFieldSettings::Password)};
}

bool SHKSharer::canShareType(int32_t type) const {
  switch (type) {
    case SHKShareTypeURL:
      return canShareURL();
    case SHKShareTypeText:
      return canShareText();
    case SHKShareTypeImage:
      return canShareImage();
    case SHKShareTypeFile:
      return canShareFile();
    default:
      return false;
  }
}

std::optional<std::vector<SHKFormFieldSettings>> SHKSharer::shareFormFieldsForType(int32_t type) {
  if (type != SHKShareTypeURL) return std::nullopt;
  return std::vector<SHKFormFieldSettings>{SHKFormFieldSettings::make(
      base::localized("Title"), "title", SHKFormFieldSettings::Text, item_->title())};
}

void SHKSharer::retain() {
  if (!keepAlive_) keepAlive_ = weak_from_this().lock();
}

void SHKSharer::settle() {
  if (screensUp_ > 0 || sending_ || !keepAlive_) return;
  // Released on the next turn: the caller may still be inside one of this service's calls.
  base::RunLoop::main().performAfter(0, [keep = std::move(keepAlive_)]() mutable { keep.reset(); });
  keepAlive_.reset();
}

void SHKSharer::share() {
  retain();
  if (authorize()) {
    if (!(shouldAutoShare() && tryToSend())) show();
  }
  settle();
}

bool SHKSharer::authorize() {
  if (isAuthorized()) return true;
  promptAuthorization();
  pendingAction_ = PendingShare;
  return false;
}

bool SHKSharer::isAuthorized() {
  if (!requiresAuthentication()) return true;
  for (const auto& field : authorizationFormFields()) {
    if (SHK::getAuthValueForKey(field.key, sharerId_)) return true;
  }
  return false;
}

void SHKSharer::promptAuthorization() {
  if (shareRequiresInternetConnection() && !SHK::connected()) {
    if (!quiet_) {
      showAlert(base::localized("Offline"),
                base::localized("You must be online to login to %@", sharerTitle()));
    }
    return;
  }
  authorizationFormShow();
}

void SHKSharer::authorizationFormShow() {
  auto form = std::make_shared<SHKCustomFormController>(
      ui::TableViewStyle::Grouped, base::localized("Login"), base::localized("Login"));
  form->addSection(authorizationFormFields(), std::nullopt, authorizationFormCaption());
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  form->setValidateAction([weak](SHKFormController& f) {
    if (auto self = weak.lock()) self->authorizationFormValidate(f);
  });
  form->setSaveAction([weak](SHKFormController& f) {
    if (auto self = weak.lock()) self->authorizationFormSave(f);
  });
  form->setAutoSelect(true);
  presentScreen(form);
}

void SHKSharer::authorizationFormSave(SHKFormController& form) {
  SHKFormController::Values values = form.formValues();
  if (!form.sections().empty()) {
    for (const auto& field : form.sections().front().rows) {
      auto value = values.find(field.key);
      if (value != values.end()) SHK::setAuthValue(value->second, field.key, sharerId_);
    }
  }
  share();
}

void SHKSharer::tryPendingAction() {
  if (pendingAction_ == PendingShare) share();
}

void SHKSharer::show() {
  auto fields = shareFormFieldsForType(item_->shareType());
  if (!fields) {
    tryToSend();
    return;
  }
  auto form = std::make_shared<SHKCustomFormController>(
      ui::TableViewStyle::Grouped, std::nullopt, base::localized("Send to %@", sharerTitle()));
  std::optional<std::string> footer;
  if (item_->url()) footer = item_->url()->absoluteString();
  form->addSection(std::move(*fields), std::nullopt, footer);
  if (canAutoShare()) {
    form->addSection(
        {SHKFormFieldSettings::make(base::localized("Auto Share"), "autoShare",
                                    SHKFormFieldSettings::Switch, shouldAutoShare() ? "1" : "0")},
        std::nullopt, base::localized("Enable auto share to skip this step in the future."));
  }
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  form->setValidateAction([weak](SHKFormController& f) {
    if (auto self = weak.lock()) self->shareFormValidate(f);
  });
  form->setSaveAction([weak](SHKFormController& f) {
    if (auto self = weak.lock()) self->shareFormSave(f);
  });
  presentForm(std::move(form));
}

void SHKSharer::shareFormValidate(SHKFormController& form) {
  form.saveForm();
}

void SHKSharer::shareFormSave(SHKFormController& form) {
  for (const auto& [key, value] : form.formValues()) {
    if (key == "title") {
      item_->setTitle(value);
    } else if (key == "text") {
      item_->setText(value);
    } else if (key == "tags") {
      item_->setTags(value);
    } else {
      item_->setCustomValue(value, key);
    }
  }
  if (canAutoShare()) {
    auto second = form.formValuesForSection(1);
    if (auto autoShare = second.find("autoShare"); autoShare != second.end()) {
      setShouldAutoShare(autoShare->second == "1");
    }
  }
  tryToSend();
}

bool SHKSharer::tryToSend() {
  if (shareRequiresInternetConnection() && !SHK::connected()) {
    // A share the queue did not take is not lost silently: it is reported like one that
    // cannot wait.
    if (canShareOffline() && SHK::addToOfflineQueue(*item_, sharerId_)) return true;
    if (quiet_) return false;
    showAlert(base::localized("Offline"),
              base::localized("You must be online in order to share with %@", sharerTitle()));
    return true;
  }
  outcomeReported_ = false;
  retain();
  bool started = send();
  settle();
  return started;
}

bool SHKSharer::validateItem() const {
  switch (item_->shareType()) {
    case SHKShareTypeURL:
      return item_->url().has_value();
    case SHKShareTypeText:
      return item_->text().has_value();
    case SHKShareTypeImage:
      return item_->image() != nullptr;
    case SHKShareTypeFile:
      return item_->data().has_value();
    default:
      return false;
  }
}

void SHKSharer::logout() {
  for (const auto& field : authorizationFormFields()) {
    SHK::removeAuthValueForKey(field.key, sharerId_);
  }
}

bool SHKSharer::shouldAutoShare() const {
  return store::UserDefaults::standard().boolForKey(sharerId_ + "_shouldAutoShare");
}

void SHKSharer::setShouldAutoShare(bool autoShare) {
  store::UserDefaults::standard().setBool(autoShare, sharerId_ + "_shouldAutoShare");
}

std::optional<std::string> SHKSharer::getAuthValueForKey(const std::string& key) const {
  return SHK::getAuthValueForKey(key, sharerId_);
}

void SHKSharer::sendDidStart() {
  if (outcomeReported_) return;
  sending_ = true;
  retain();
  if (shareDelegate_) shareDelegate_->sharerStartedSending(*this);
  base::NotificationCenter::defaultCenter().post(kSendDidStartNotification, this);
}

bool SHKSharer::beginOutcome() {
  if (outcomeReported_) {
    base::log("SHKSharer: " + sharerId_ + " reported a second outcome; ignored");
    return false;
  }
  outcomeReported_ = true;
  return true;
}

void SHKSharer::sendDidFinish() {
  if (!beginOutcome()) return;
  auto self = weak_from_this().lock();
  if (shareDelegate_) shareDelegate_->sharerFinishedSending(*this);
  base::NotificationCenter::defaultCenter().post(kSendDidFinishNotification, this);
  sending_ = false;
  settle();
}

void SHKSharer::sendDidFailWithError(const SHKError& error, bool shouldRelogin) {
  if (!beginOutcome()) return;
  auto self = weak_from_this().lock();
  lastError_ = error;
  if (shareDelegate_) shareDelegate_->sharerFailedWithError(*this, error, shouldRelogin);
  base::NotificationCenter::defaultCenter().post(kSendDidFailNotification, this);
  sending_ = false;
  settle();
}

void SHKSharer::sendDidFailShouldRelogin() {
  sendDidFailWithError(SHK::error("Could not authenticate you. Please relogin."), true);
}

void SHKSharer::sendDidCancel() {
  if (!beginOutcome()) return;
  auto self = weak_from_this().lock();
  if (shareDelegate_) shareDelegate_->sharerCancelledSending(*this);
  base::NotificationCenter::defaultCenter().post(kSendDidCancelNotification, this);
  sending_ = false;
  settle();
}

void SHKSharer::sharerStartedSending(SHKSharer& sharer) {
  if (sharer.quiet()) return;
  SHKActivityIndicator::currentIndicator()->displayActivity(
      base::localized("Saving to %@", sharer.sharerTitle()));
}

void SHKSharer::sharerFinishedSending(SHKSharer& sharer) {
  if (sharer.quiet()) return;
  SHKActivityIndicator::currentIndicator()->displayCompleted(base::localized("Saved!"));
}

void SHKSharer::sharerFailedWithError(SHKSharer& sharer, const SHKError&, bool shouldRelogin) {
  if (sharer.quiet()) return;
  if (SHKActivityIndicator::exists()) SHKActivityIndicator::currentIndicator()->hide();
  sharer.showAlert(base::localized("Error"),
                   sharer.lastError() ? sharer.lastError()->localizedDescription
                                      : base::localized("There was an error while sharing"));
  if (shouldRelogin) sharer.promptAuthorization();
}

void SHKSharer::viewDidDisappear(bool animated) {
  ui::NavigationController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
}

void SHKSharer::presentScreen(std::shared_ptr<ui::ViewController> controller) {
  // A quiet share (one from the offline queue) asks before it needs the user.
  if (quiet_ && shareDelegate_ && !shareDelegate_->sharerWillPresentScreen(*this)) return;
  retain();
  ++screensUp_;
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  SHK::currentHelper().showViewController(std::move(controller), [weak] {
    if (auto self = weak.lock()) {
      --self->screensUp_;
      self->settle();
    }
  });
}

void SHKSharer::presentForm(std::shared_ptr<ui::ViewController> form) {
  setViewControllers({std::move(form)});
  if (auto self = weak_from_this().lock()) presentScreen(self);
}

void SHKSharer::showAlert(const std::string& title, const std::string& message) {
  auto alert = std::make_shared<ui::AlertView>(title, message, nullptr, base::localized("Close"));
  alert->show();
}
