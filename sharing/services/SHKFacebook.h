#pragma once
#include <memory>
#include <string>

#include "facebook/FBDialogDelegate.h"
#include "facebook/FBHosts.h"
#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSessionDelegate.h"
#include "sharing/core/SHKSharer.h"

class FBDialog;
class FBLoginDialog;
class FBSession;

// Publishes links and texts on the user's Facebook wall through Facebook's publishing page, and
// uploads pictures through the REST API once the user allowed it. Logs in with Facebook's own
// log-in page, so it has no login form and no share form; it works only in the window.
class SHKFacebook : public SHKSharer,
                    public FBSessionDelegate,
                    public FBDialogDelegate,
                    public FBRequestDelegate {
 public:
  static constexpr const char* kClassName = "SHKFacebook";
  // What the service waits for.
  enum FacebookAction : int { None = 0, Login = 1, Publish = 2, Permission = 3 };
  // Unconfigured settings of the deploying application, named in the story's action link.
  static constexpr const char* kApplicationName = "My App Name";
  static constexpr const char* kApplicationURL = "http://vemo.invalid/";

  static void registerService();
  // The [SHKFacebook] hosts of the service configuration.
  static FBHosts configuredHosts();
  // The attachment of a link's story, and the action links of every story.
  static std::string attachmentFor(const SHKItem& item);
  static std::string actionLinks();
  // The program's Facebook session (the shared one, else a new one on the configured keys and
  // hosts with the saved session resumed), for screens that show the log-in state.
  static std::shared_ptr<FBSession> applicationSession();

  SHKFacebook();
  ~SHKFacebook() override;

  std::string sharerTitle() const override { return "Facebook"; }
  bool canShareURL() const override { return true; }
  bool canShareText() const override { return true; }
  bool canShareImage() const override { return true; }
  bool canShareOffline() const override { return false; }
  bool requiresWindow() const override { return true; }
  // Shares go straight to sending: the publishing page is the form.
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }

  bool isAuthorized() override;
  void promptAuthorization() override;
  bool send() override;
  void sendImage();
  // Ends the saved Facebook session and removes the site's cookies.
  void logout() override;

  const std::shared_ptr<FBSession>& session() const { return session_; }
  int pendingFacebookAction() const { return pendingFacebookAction_; }

  void sessionDidLogin(FBSession& session, FBUid uid) override;
  void sessionDidNotLogin(FBSession& session) override;

  void dialogDidSucceed(FBDialog& dialog) override;
  void dialogDidCancel(FBDialog& dialog) override;
  void dialogDidFailWithError(FBDialog& dialog, const net::Error& error) override;
  bool dialogShouldOpenURLInExternalBrowser(FBDialog&, const std::string&) override { return true; }

  void requestDidLoad(FBRequest& request, const FBValue& result) override;
  void requestDidFailWithError(FBRequest& request, const FBError& error) override;

 private:
  std::shared_ptr<FBSession> makeSession();
  // Whether `dialog` is the publishing or permission panel of this share (not the log-in).
  bool isSharePanel(const FBDialog& dialog) const;
  // Keeps the service alive while one of its panels is up, and lets it go after.
  void hold();
  void release();

  std::shared_ptr<FBSession> session_;
  int pendingFacebookAction_ = None;
  std::shared_ptr<FBLoginDialog> login_;
  // The publishing or permission panel, which reports here.
  std::weak_ptr<FBDialog> dialog_;
  std::shared_ptr<SHKSharer> hold_;
};
