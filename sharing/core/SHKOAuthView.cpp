#include "sharing/core/SHKOAuthView.h"

#include <algorithm>

#include "platform/base/Localization.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Path and query as compared: an empty path is "/".
std::string rest(const net::Url& url) {
  std::string out = url.path().empty() ? "/" : url.path();
  if (url.query()) out += "?" + *url.query();
  return out;
}

// The Twitter web site's host without a leading "www.": a page there that shows a PIN means the
// application is registered for PINs instead of a callback.
std::string twitterBareDomain() {
  auto site = net::Url::parse(SHKServiceConfig::shared().value("SHKTwitter", "web"));
  if (!site) return {};
  std::string host = lower(site->host());
  if (host.starts_with("www.")) host.erase(0, 4);
  return host;
}

}  // namespace

SHKOAuthView::SHKOAuthView(const net::Url& url, std::shared_ptr<SHKOAuthViewDelegate> delegate)
    : delegate_(std::move(delegate)) {
  navigationItem().setLeftBarButtonItem(
      ui::BarButtonItem::system(ui::BarButtonSystemItem::Cancel, [this] { cancel(); }));
  webView_ = std::make_shared<ui::WebView>();
  webView_->setScalesPageToFit(true);
  webView_->setDelegate(this);
  webView_->loadRequest(net::UrlRequest(url));
}

SHKOAuthView::~SHKOAuthView() {
  webView_->setDelegate(nullptr);
}

bool SHKOAuthView::matchesCallback(const net::Url& address, const net::Url& callback) {
  if (lower(address.scheme()) != lower(callback.scheme()) || callback.scheme().empty()) {
    return false;
  }
  if (lower(address.host()) != lower(callback.host()) || address.port() != callback.port()) {
    return false;
  }
  return rest(address).starts_with(rest(callback));
}

SHKOAuthViewDelegate::QueryParams SHKOAuthView::queryParameters(const net::Url& address) {
  if (!address.query()) return std::nullopt;
  std::map<std::string, std::string> out;
  std::string_view query = *address.query();
  while (true) {
    size_t end = query.find('&');
    std::string_view piece = query.substr(0, end);
    size_t eq = piece.find('=');
    if (eq != std::string_view::npos && piece.find('=', eq + 1) == std::string_view::npos) {
      out[std::string(piece.substr(0, eq))] = std::string(piece.substr(eq + 1));
    }
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  return out;
}

void SHKOAuthView::loadView() {
  setView(webView_);
}

void SHKOAuthView::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
}

void SHKOAuthView::cancel() {
  if (auto delegate = delegate_) delegate->tokenAuthorizeCancelledView(*this);
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
}

void SHKOAuthView::startSpinner() {
  if (!spinner_) {
    spinner_ = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::White);
    spinner_->setHidesWhenStopped(true);
    navigationItem().setRightBarButtonItem(ui::BarButtonItem::withCustomView(spinner_), false);
  }
  spinner_->startAnimating();
}

void SHKOAuthView::stopSpinner() {
  if (spinner_) spinner_->stopAnimating();
}

bool SHKOAuthView::shouldStartLoadWithRequest(ui::WebView&, const net::UrlRequest& request,
                                              ui::WebViewNavigationType) {
  if (!delegate_) return true;
  auto callback = delegate_->authorizeCallbackURL();
  if (!callback || !matchesCallback(request.url(), *callback)) return true;
  // The authorisation is over; the callback itself is never loaded.
  auto delegate = std::move(delegate_);
  delegate->tokenAuthorizeView(*this, true, queryParameters(request.url()), std::nullopt);
  return false;
}

void SHKOAuthView::webViewDidStartLoad(ui::WebView&) {
  startSpinner();
}

void SHKOAuthView::webViewDidFinishLoad(ui::WebView& webView) {
  stopSpinner();
  auto current = webView.request();
  if (!current || !delegate_) return;
  std::string domain = twitterBareDomain();
  if (domain.empty() || lower(current->url().host()) != domain) return;
  std::string pin = webView.stringByEvaluatingJavaScriptFromString(
      "document.getElementById('oauth_pin').innerHTML");
  if (pin.empty()) return;
  reportFailure(SHK::error(
      "Your SHKTwitter config is incorrect.  You must set your application type to Browser and "
      "define a callback url.  See the sharing configuration (vemo.conf, [SHKTwitter]) for more "
      "details."));
}

void SHKOAuthView::didFailLoadWithError(ui::WebView&, const net::Error& error) {
  for (long ignored : kIgnoredErrorCodes) {
    if (error.code() == ignored) return;
  }
  stopSpinner();
  reportFailure(SHKError{error.domain(), error.code(), error.description()});
}

void SHKOAuthView::reportFailure(const SHKError& error) {
  if (auto delegate = delegate_) delegate->tokenAuthorizeView(*this, false, std::nullopt, error);
}
