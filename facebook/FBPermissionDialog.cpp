#include "facebook/FBPermissionDialog.h"

#include "facebook/FBSession.h"
#include "platform/base/Strings.h"

FBPermissionDialog::FBPermissionDialog(std::shared_ptr<FBSession> session)
    : FBLoginDialog(std::move(session)) {}

void FBPermissionDialog::load() {
  if (!session()) return;
  loadURL(session()->hosts().web + "/connect/prompt_permission.php", "GET",
          {{"display", "touch"},
           {"api_key", session()->apiKey()},
           {"session_key", session()->sessionKey().value_or("")},
           {"ext_perm", permission_},
           {"next", "fbdialog:success"},
           {"cancel", "fbdialog:cancel"}},
          {});
}

bool FBPermissionDialog::shouldStartLoadWithRequest(ui::WebView& webView,
                                                    const net::UrlRequest& request,
                                                    ui::WebViewNavigationType type) {
  const net::Url& url = request.url();
  if (!loggingIn_ && permission_ == "offline_access" &&
      base::toLowerAscii(url.scheme()) == "fbdialog" &&
      url.absoluteString().substr(url.scheme().size() + 1) != "cancel") {
    // A new session carries the permission: log in again in this panel, once this page's
    // navigation has been refused.
    std::weak_ptr<View> weak = weak_from_this();
    redirectTimer_ = base::Timer::once(kRedirectDelaySeconds, [weak] {
      if (auto self = weak.lock()) static_cast<FBPermissionDialog&>(*self).redirectToLogin();
    });
    return false;
  }
  return FBLoginDialog::shouldStartLoadWithRequest(webView, request, type);
}

void FBPermissionDialog::redirectToLogin() {
  if (isDismissed()) return;
  loggingIn_ = true;
  loadLoginPage();
}

void FBPermissionDialog::dialogDidSucceed(const net::Url& url) {
  if (loggingIn_) {
    FBLoginDialog::dialogDidSucceed(url);
  } else {
    FBDialog::dialogDidSucceed(url);
  }
}

void FBPermissionDialog::dialogWillDisappear() {
  redirectTimer_.invalidate();
  FBLoginDialog::dialogWillDisappear();
}
