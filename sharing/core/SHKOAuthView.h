#pragma once
#include <memory>
#include <string_view>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "sharing/core/SHKOAuthViewDelegate.h"

// The service's authorisation page in a web view, under a navigation bar with Cancel and a
// spinner while a page loads. The navigation to the callback address is caught before it loads
// (also when it is a redirect) and reported with the parameters of its query; the callback host
// never sees the request.
class SHKOAuthView : public ui::ViewController, public ui::WebViewDelegate {
 public:
  // Load errors that end no authorisation: cancelled, interrupted by a refused navigation, file
  // does not exist.
  static constexpr long kIgnoredErrorCodes[] = {
      net::Error::Cancelled, net::Error::FrameLoadInterrupted, net::Error::FileDoesNotExist};

  SHKOAuthView(const net::Url& url, std::shared_ptr<SHKOAuthViewDelegate> delegate);
  ~SHKOAuthView() override;

  // Whether `address` is the callback or below it: scheme and host compared without case, the
  // port as written, an empty path read as "/", and the callback's path and query a prefix of
  // the address's.
  static bool matchesCallback(const net::Url& address, const net::Url& callback);
  // The query's "name=value" pieces as they are (not decoded); later names win, pieces without
  // exactly one "=" are skipped. Nothing when the address has no query.
  static SHKOAuthViewDelegate::QueryParams queryParameters(const net::Url& address);

  const std::shared_ptr<ui::WebView>& webView() const { return webView_; }
  const std::shared_ptr<SHKOAuthViewDelegate>& delegate() const { return delegate_; }
  const std::shared_ptr<ui::ActivityIndicatorView>& spinner() const { return spinner_; }

  void loadView() override;
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  void cancel();
  void startSpinner();
  void stopSpinner();

  bool shouldStartLoadWithRequest(ui::WebView&, const net::UrlRequest& request,
                                  ui::WebViewNavigationType) override;
  void webViewDidStartLoad(ui::WebView&) override;
  void webViewDidFinishLoad(ui::WebView&) override;
  void didFailLoadWithError(ui::WebView&, const net::Error& error) override;

 private:
  void reportFailure(const SHKError& error);

  std::shared_ptr<ui::WebView> webView_;
  std::shared_ptr<SHKOAuthViewDelegate> delegate_;
  std::shared_ptr<ui::ActivityIndicatorView> spinner_;
};
