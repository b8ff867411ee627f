#pragma once
#include <string>

#include "facebook/FBLoginDialog.h"
#include "platform/base/RunLoop.h"

// Asks the logged-in user for an extended permission. Granting "offline_access" needs a new
// session: the panel then goes on to the log-in page and ends as the log-in dialog does.
class FBPermissionDialog : public FBLoginDialog {
 public:
  static constexpr double kRedirectDelaySeconds = 0.01;

  explicit FBPermissionDialog(std::shared_ptr<FBSession> session = nullptr);

  std::string_view className() const override { return "FBPermissionDialog"; }

  const std::string& permission() const { return permission_; }
  void setPermission(std::string permission) { permission_ = std::move(permission); }

 protected:
  void load() override;
  void dialogDidSucceed(const net::Url& url) override;
  void dialogWillDisappear() override;
  bool shouldStartLoadWithRequest(ui::WebView& webView, const net::UrlRequest& request,
                                  ui::WebViewNavigationType type) override;

 private:
  void redirectToLogin();

  std::string permission_;
  bool loggingIn_ = false;
  base::Timer redirectTimer_;
};
