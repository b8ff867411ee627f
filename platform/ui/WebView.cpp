#include "platform/ui/WebView.h"

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"

namespace ui {

WebView::WebView(graphics::Rect frame)
    : View(frame), engine_(WebEngine::create()), self_(std::make_shared<WebView*>(this)) {
  setBackgroundColor(graphics::Color::white());
  engine_->setClient(this);
}

WebView::~WebView() {
  *self_ = nullptr;
  engine_->setClient(nullptr);
}

void WebView::draw(graphics::Painter& painter) const {
  View::draw(painter);
  engine_->drawPicture(painter, bounds());
}

void WebView::loadRequest(const net::UrlRequest& request) {
  if (request.url().absoluteString().empty()) {
    loadRequest(std::string_view{});
    return;
  }
  engine_->loadRequest(request);
}

void WebView::loadRequest(std::string_view url) {
  if (auto parsed = net::Url::parse(url); parsed && !url.empty()) {
    engine_->loadRequest(net::UrlRequest(*parsed));
    return;
  }
  base::log("WebView: not a valid address: " + std::string(url));
  net::Error error(net::Error::kDomain, net::Error::BadURL,
                   "Not a valid address: \"" + std::string(url) + "\"");
  std::weak_ptr<WebView*> weak = self_;
  base::RunLoop::main().post([weak, error] {
    auto self = weak.lock();
    if (self && *self && (*self)->delegate_)
      (*self)->delegate_->didFailLoadWithError(**self, error);
  });
}

void WebView::loadHTMLString(const std::string& html, const std::optional<net::Url>& baseURL) {
  engine_->loadHTMLString(html, baseURL);
}

void WebView::goBack() {
  engine_->goBack();
}
void WebView::goForward() {
  engine_->goForward();
}
void WebView::reload() {
  engine_->reload();
}
void WebView::stopLoading() {
  engine_->stopLoading();
}

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
  return engine_->evaluateScript(script);
}

void WebView::setScalesPageToFit(bool scales) {
  scalesPageToFit_ = scales;
  engine_->setScalesPageToFit(scales);
}

bool WebView::engineShouldStartLoad(const net::UrlRequest& request, WebViewNavigationType type) {
  return !delegate_ || delegate_->shouldStartLoadWithRequest(*this, request, type);
}

void WebView::engineDidStartLoad() {
  if (delegate_) delegate_->webViewDidStartLoad(*this);
}

void WebView::engineDidFinishLoad() {
  if (delegate_) delegate_->webViewDidFinishLoad(*this);
}

void WebView::engineDidFailLoad(const net::Error& error) {
  if (delegate_) delegate_->didFailLoadWithError(*this, error);
}

void WebView::engineDidChangeTitle() {
  if (delegate_) delegate_->webViewDidChangeTitle(*this);
}

}  // namespace ui
