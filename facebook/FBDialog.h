#pragma once
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "facebook/FBDialogDelegate.h"
#include "platform/base/NotificationCenter.h"
#include "platform/net/Url.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"

class FBSession;

// The floating panel that shows one of Facebook's web pages (log-in, permission, publishing)
// over the window: a rounded dark frame with a blue title bar, the icon, a close button, the
// web view and a spinner while the first page loads. The page ends the panel by going to a
// "fbdialog:" address ("fbdialog:cancel" cancels, anything else succeeds); such addresses are
// caught before they load, whether a link, a form or a server redirect leads there. Links the
// user follows elsewhere open in the user's browser. The panel is dismissed exactly once.
// Subclasses choose the page (load) and what success means (dialogDidSucceed).
// Made with std::make_shared; the window keeps it while it is shown. Main thread only.
class FBDialog : public ui::View, protected ui::WebViewDelegate {
 public:
  using Params = std::vector<std::pair<std::string, std::string>>;

  static constexpr double kBorderWidth = 10;
  static constexpr double kPadding = 10;
  static constexpr double kTitleMarginX = 8;
  static constexpr double kTitleMarginY = 4;
  static constexpr double kBounce1Seconds = 0.2;
  static constexpr double kBounce2Seconds = 0.15;
  static constexpr double kBounce3Seconds = 0.15;
  static constexpr double kFadeOutSeconds = 0.3;
  static constexpr double kTitleFontSize = 14;
  static constexpr const char* kBoundary = "3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f";
  static constexpr const char* kIconImage = "FBDialog.bundle/images/fbicon.png";
  static constexpr const char* kCloseImage = "FBDialog.bundle/images/close.png";

  // On the shared session when `session` is null.
  explicit FBDialog(std::shared_ptr<FBSession> session = nullptr);
  ~FBDialog() override;

  std::string_view className() const override { return "FBDialog"; }

  FBDialogDelegate* delegate() const { return delegate_; }
  void setDelegate(FBDialogDelegate* delegate) { delegate_ = delegate; }
  const std::shared_ptr<FBSession>& session() const { return session_; }
  std::string title() const { return titleLabel_->text(); }
  void setTitle(std::string title) { titleLabel_->setText(std::move(title)); }

  // Loads the page and brings the panel onto the key window with a bounce.
  void show();
  // Loads `url` with the query `get`; a "POST" sends `post` as a multipart body.
  void loadURL(const std::string& url, const std::optional<std::string>& method, const Params& get,
               const Params& post);
  void dismissWithSuccess(bool success, bool animated);
  void dismissWithError(const net::Error& error, bool animated);
  void cancel() { dismissWithSuccess(false, true); }

  // "url?name=value&..." with every value escaped as a URL component.
  static std::string generateURL(const std::string& url, const Params& params);
  // The multipart body of `params`, delimited by kBoundary (no closing delimiter).
  static std::string generatePostBody(const Params& params);
  // The domain the "test_cookie" is set for: the web host's domain with a leading dot, or the
  // host alone when it is an IP address.
  static std::string testCookieDomain(const std::string& webAddress,
                                      const std::string& cookieDomain);

  ui::WebView& webView() const { return *webView_; }
  ui::ActivityIndicatorView& spinner() const { return *spinner_; }
  ui::ImageView& iconView() const { return *iconView_; }
  ui::Label& titleLabel() const { return *titleLabel_; }
  ui::Button& closeButton() const { return *closeButton_; }
  const std::optional<std::string>& loadingURL() const { return loadingURL_; }
  bool isDismissed() const { return dismissed_; }

  void draw(graphics::Painter& painter) const override;

 protected:
  // Opens the panel's page; nothing here.
  virtual void load() {}
  virtual void dialogWillAppear() {}
  virtual void dialogWillDisappear() {}
  // The page went to a "fbdialog:" success address; here the panel closes with success.
  virtual void dialogDidSucceed(const net::Url& url);

  bool shouldStartLoadWithRequest(ui::WebView&, const net::UrlRequest& request,
                                  ui::WebViewNavigationType type) override;
  void webViewDidFinishLoad(ui::WebView&) override;
  // A title that comes after the load names the panel too.
  void webViewDidChangeTitle(ui::WebView& webView) override;
  void didFailLoadWithError(ui::WebView&, const net::Error& error) override;
  void layoutSubviews() override;

 private:
  // Sizes the panel to the application frame as the user sees it, less the borders.
  void sizeToFitOrientation();
  void layoutPanel();
  // Tells the page whether it is shown in landscape.
  void updateWebOrientation();
  void deviceOrientationDidChange();
  void bounce(int step);
  void postDismissCleanup();
  bool isShownInLandscape() const;

  FBDialogDelegate* delegate_ = nullptr;
  std::shared_ptr<FBSession> session_;
  std::optional<std::string> loadingURL_;
  std::shared_ptr<ui::WebView> webView_;
  std::shared_ptr<ui::ActivityIndicatorView> spinner_;
  std::shared_ptr<ui::ImageView> iconView_;
  std::shared_ptr<ui::Label> titleLabel_;
  std::shared_ptr<ui::Button> closeButton_;
  std::optional<bool> landscape_;
  bool dismissed_ = false;
  base::ObserverToken orientationObserver_;
};
