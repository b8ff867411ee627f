#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/View.h"
#include "platform/ui/WebEngine.h"
#include "platform/ui/WebEngineClient.h"
#include "platform/ui/WebViewDelegate.h"

namespace ui {

// Shows web pages through a WebEngine made by WebEngine::create() (headless unless the shell
// installed a factory) and reports every navigation and load to its delegate.
class WebView : public View, private WebEngineClient {
 public:
  explicit WebView(graphics::Rect frame = {});
  ~WebView() override;

  std::string_view className() const override { return "WebView"; }

  WebViewDelegate* delegate() const { return delegate_; }
  void setDelegate(WebViewDelegate* delegate) { delegate_ = delegate; }

  void loadRequest(const net::UrlRequest& request);
  // An address that is not a valid URL (blanks, non-ASCII letters) loads nothing: the delegate
  // hears didFailLoadWithError with a bad-URL error, on the next turn of the main loop.
  void loadRequest(std::string_view url);
  void loadHTMLString(const std::string& html, const std::optional<net::Url>& baseURL);
  void goBack();
  void goForward();
  void reload();
  void stopLoading();

  bool canGoBack() const { return engine_->canGoBack(); }
  bool canGoForward() const { return engine_->canGoForward(); }
  bool isLoading() const { return engine_->isLoading(); }
  // The request being loaded, else that of the page on screen.
  std::optional<net::UrlRequest> request() const { return engine_->currentRequest(); }
  std::string stringByEvaluatingJavaScriptFromString(const std::string& script);

  bool scalesPageToFit() const { return scalesPageToFit_; }
  void setScalesPageToFit(bool scales);

  WebEngine& engine() const { return *engine_; }

  void draw(graphics::Painter& painter) const override;

 private:
  bool engineShouldStartLoad(const net::UrlRequest& request, WebViewNavigationType type) override;
  void engineDidStartLoad() override;
  void engineDidFinishLoad() override;
  void engineDidFailLoad(const net::Error& error) override;
  void engineDidChangeTitle() override;

  std::unique_ptr<WebEngine> engine_;
  WebViewDelegate* delegate_ = nullptr;
  bool scalesPageToFit_ = false;
  // Lets a posted report notice that the web view is gone.
  std::shared_ptr<WebView*> self_;
};

}  // namespace ui
