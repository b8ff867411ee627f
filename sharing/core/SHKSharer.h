#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/NavigationController.h"
#include "sharing/core/SHKError.h"
#include "sharing/core/SHKFormFieldSettings.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKSharerDelegate.h"

class SHKFormController;
class SHKRequest;

// The base of every share service. One service object carries one share: it checks the login
// (showing the login form when there is none), shows the share form unless auto-share is on,
// checks that the network is there (queueing the share when the service allows it) and sends.
// Subclasses give their title, the item types they take, their login and share fields, and
// send(); they report with the outcome calls, of which the first finish, failure or cancel of a
// send counts and later ones are ignored.
//
// The service is a navigation controller that the share form is pushed into. It keeps itself
// alive while one of its screens is up and from sendDidStart until the outcome; a subclass
// that works before sendDidStart keeps itself alive through its own request. After that it is
// freed with its forms.
class SHKSharer : public ui::NavigationController,
                  public SHKSharerDelegate,
                  public std::enable_shared_from_this<SHKSharer> {
 public:
  using Factory = std::function<std::shared_ptr<SHKSharer>()>;
  enum PendingAction : int { PendingNone = 0, PendingShare = 1 };

  static constexpr const char* kSendDidStartNotification = "SHKSendDidStartNotification";
  static constexpr const char* kSendDidFinishNotification = "SHKSendDidFinish";
  static constexpr const char* kSendDidFailNotification = "SHKSendDidFailWithError";
  static constexpr const char* kSendDidCancelNotification = "SHKSendDidCancel";

  // Services by class name. A name registered twice keeps the later factory.
  static void registerClass(const std::string& className, Factory factory);
  static void unregisterClass(const std::string& className);
  static bool isRegistered(const std::string& className);
  // A new service of that class; nullptr (and a log line) for a name not registered.
  static std::shared_ptr<SHKSharer> create(const std::string& className);

  // Starts a share of `item` with the named service, putting it first among the type's
  // favourites. nullptr when the name is unknown or there is no item.
  static std::shared_ptr<SHKSharer> shareItem(const std::string& className,
                                              std::shared_ptr<SHKItem> item);
  static std::shared_ptr<SHKSharer> shareURL(const std::string& className, net::Url url,
                                             std::optional<std::string> title = std::nullopt);
  static std::shared_ptr<SHKSharer> shareText(const std::string& className, std::string text);
  static std::shared_ptr<SHKSharer> shareImage(const std::string& className,
                                               graphics::ImagePtr image,
                                               std::optional<std::string> title);
  static std::shared_ptr<SHKSharer> shareFile(const std::string& className,
                                              std::vector<uint8_t> data, std::string filename,
                                              std::string mimeType,
                                              std::optional<std::string> title);
  static bool isServiceAuthorized(const std::string& className);

  SHKSharer();
  ~SHKSharer() override;

  // What a subclass tells about itself.
  virtual std::string sharerTitle() const { return ""; }
  virtual bool canShareURL() const { return false; }
  virtual bool canShareText() const { return false; }
  virtual bool canShareImage() const { return false; }
  virtual bool canShareFile() const { return false; }
  virtual bool canShare() const { return true; }
  virtual bool shareRequiresInternetConnection() const { return true; }
  virtual bool canShareOffline() const { return true; }
  virtual bool requiresAuthentication() const { return true; }
  virtual bool canAutoShare() const { return true; }
  // Services whose pages only the window can show (the terminal cannot share with them).
  virtual bool requiresWindow() const { return false; }
  virtual std::optional<std::string> authorizationFormCaption() const { return std::nullopt; }
  virtual std::vector<SHKFormFieldSettings> authorizationFormFields() const;

  // The class name: it keys credentials, favourites and the auto-share flag.
  const std::string& sharerId() const { return sharerId_; }
  bool canShareType(int32_t type) const;

  // Starts sending; true when it started. The base sends nothing.
  virtual bool send() { return false; }
  // The share form's fields; nothing means no form. The base asks a link's title.
  virtual std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type);
  // Checks the login form; a service that needs a login saves the form or says what is wrong.
  virtual void authorizationFormValidate(SHKFormController&) {}

  void share();
  bool authorize();
  virtual bool isAuthorized();
  virtual void promptAuthorization();
  virtual void authorizationFormShow();
  void authorizationFormSave(SHKFormController& form);
  virtual void tryPendingAction();
  virtual void show();
  void shareFormValidate(SHKFormController& form);
  void shareFormSave(SHKFormController& form);
  bool tryToSend();
  bool validateItem() const;
  // Forgets the stored login.
  virtual void logout();

  virtual bool shouldAutoShare() const;
  void setShouldAutoShare(bool autoShare);
  std::optional<std::string> getAuthValueForKey(const std::string& key) const;

  // Outcomes, reported by subclasses.
  void sendDidStart();
  void sendDidFinish();
  void sendDidFailWithError(const SHKError& error, bool shouldRelogin = false);
  void sendDidFailShouldRelogin();
  void sendDidCancel();

  // The default reports: the progress panel and alerts, none when quiet.
  void sharerStartedSending(SHKSharer& sharer) override;
  void sharerFinishedSending(SHKSharer& sharer) override;
  void sharerFailedWithError(SHKSharer& sharer, const SHKError& error, bool shouldRelogin) override;

  SHKSharerDelegate* shareDelegate() const { return shareDelegate_; }
  void setShareDelegate(SHKSharerDelegate* delegate) { shareDelegate_ = delegate; }
  const std::shared_ptr<SHKItem>& item() const { return item_; }
  void setItem(std::shared_ptr<SHKItem> item) { item_ = std::move(item); }
  const std::shared_ptr<SHKFormController>& pendingForm() const { return pendingForm_; }
  void setPendingForm(std::shared_ptr<SHKFormController> form) { pendingForm_ = std::move(form); }
  const std::shared_ptr<SHKRequest>& request() const { return request_; }
  void setRequest(std::shared_ptr<SHKRequest> request) { request_ = std::move(request); }
  const std::optional<SHKError>& lastError() const { return lastError_; }
  bool quiet() const { return quiet_; }
  void setQuiet(bool quiet) { quiet_ = quiet; }
  int pendingAction() const { return pendingAction_; }
  void setPendingAction(int action) { pendingAction_ = action; }

  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

 protected:
  // Shows `controller` through the current helper and stays alive until it is gone.
  void presentScreen(std::shared_ptr<ui::ViewController> controller);
  // Shows the service with `form` as its only screen: a form shown again (the share resumed
  // after a new login) takes the place of the earlier one instead of going on top of it.
  void presentForm(std::shared_ptr<ui::ViewController> form);
  // An alert with one "Close" button; `message` is shown as it is.
  void showAlert(const std::string& title, const std::string& message);

 private:
  // Keeps the service alive while a share is under way; released once nothing holds it.
  void retain();
  void settle();
  // False when an outcome was already reported for this send.
  bool beginOutcome();

  std::string sharerId_ = "SHKSharer";
  SHKSharerDelegate* shareDelegate_;
  std::shared_ptr<SHKItem> item_;
  std::shared_ptr<SHKFormController> pendingForm_;
  std::shared_ptr<SHKRequest> request_;
  std::optional<SHKError> lastError_;
  bool quiet_ = false;
  int pendingAction_ = PendingNone;

  std::shared_ptr<SHKSharer> keepAlive_;
  int screensUp_ = 0;
  bool sending_ = false;
  bool outcomeReported_ = false;
};
