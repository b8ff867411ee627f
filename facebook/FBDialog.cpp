#include "facebook/FBDialog.h"

#include <cairo.h>

#include <cctype>
#include <cmath>

#include "facebook/FBSession.h"
#include "platform/base/Localization.h"
#include "platform/base/Strings.h"
#include "platform/base/Utf16.h"
#include "platform/graphics/Painter.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/WebCookieJar.h"
#include "platform/ui/Window.h"

namespace {

constexpr graphics::Color kFrameColor{0.3, 0.3, 0.3, 0.8};
constexpr graphics::Color kTitleFill{0.42578125, 0.515625, 0.703125, 1.0};
constexpr graphics::Color kTitleStroke{0.23, 0.35, 0.6, 1.0};
constexpr graphics::Color kWebStroke{0.3, 0.3, 0.3, 1.0};
constexpr double kFrameRadius = 10;
// Page titles longer than this (in UTF-16 units) are cut: the bar shows a few words at most.
constexpr size_t kMaxTitleUnits = 200;

bool isIPAddress(const std::string& host) {
  if (host.find(':') != std::string::npos) return true;  // IPv6 literal
  if (host.empty()) return false;
  for (char c : host) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.')) return false;
  }
  return true;
}

// The rounded rectangle inset by half a point, with circular corners.
void addRoundedRectToPath(cairo_t* cr, const graphics::Rect& r, double radius) {
  double x = r.x() + 0.5, y = r.y() + 0.5, w = r.width() - 1, h = r.height() - 1;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
  cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// Four 1-point lines: the top one half a point above the top edge, the others half a point
// inside the bottom, left and right edges.
void strokeLines(graphics::Painter& painter, const graphics::Rect& r, const graphics::Color& c) {
  double left = r.x(), top = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height();
  painter.drawLine({left, top - 0.5}, {right, top - 0.5}, c);
  painter.drawLine({left, bottom - 0.5}, {right, bottom - 0.5}, c);
  painter.drawLine({left + 0.5, top}, {left + 0.5, bottom}, c);
  painter.drawLine({right - 0.5, top}, {right - 0.5, bottom}, c);
}

}  // namespace

FBDialog::FBDialog(std::shared_ptr<FBSession> session)
    : session_(session ? std::move(session) : FBSession::session()) {
  setBackgroundColor(graphics::Color::clear());

  iconView_ = std::make_shared<ui::ImageView>(graphics::Image::named(kIconImage));
  addSubview(iconView_);

  closeButton_ = std::make_shared<ui::Button>();
  closeButton_->setImage(graphics::Image::named(kCloseImage));
  closeButton_->setTitleColor(graphics::Color{167 / 255.0, 184 / 255.0, 216 / 255.0, 1});
  closeButton_->setTitleColor(graphics::Color::white(), ui::ControlState::Highlighted);
  closeButton_->titleLabel().setFont(graphics::Font::boldSystem(12));
  closeButton_->setShowsTouchWhenHighlighted(true);
  closeButton_->addTarget([this] { cancel(); });
  addSubview(closeButton_);

  titleLabel_ = std::make_shared<ui::Label>();
  titleLabel_->setText(base::localized("Connect to Facebook"));
  titleLabel_->setBackgroundColor(graphics::Color::clear());
  titleLabel_->setTextColor(graphics::Color::white());
  titleLabel_->setFont(graphics::Font::boldSystem(kTitleFontSize));
  addSubview(titleLabel_);

  webView_ = std::make_shared<ui::WebView>();
  webView_->setDelegate(this);
  addSubview(webView_);

  spinner_ =
      std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
  addSubview(spinner_);
}

FBDialog::~FBDialog() {
  webView_->setDelegate(nullptr);
}

void FBDialog::show() {
  load();
  sizeToFitOrientation();
  layoutPanel();
  spinner_->startAnimating();

  ui::Application& app = ui::Application::shared();
  ui::Window* window = app.keyWindow();
  if (!window) return;
  window->attachView(shared_from_this());
  dialogWillAppear();

  // Grows from nothing past full size and settles, keeping the window's turn.
  ui::Transform start = transform();
  start.scale = 0.001;
  setTransform(start);
  bounce(0);

  std::weak_ptr<View> weak = weak_from_this();
  orientationObserver_ = base::NotificationCenter::defaultCenter().addObserver(
      ui::Application::kDeviceOrientationDidChangeNotification, [weak](const base::Notification&) {
        if (auto self = weak.lock()) static_cast<FBDialog&>(*self).deviceOrientationDidChange();
      });
}

void FBDialog::bounce(int step) {
  static constexpr double kScales[] = {1.1, 0.9, 1.0};
  static constexpr double kSeconds[] = {kBounce1Seconds, kBounce2Seconds, kBounce3Seconds};
  if (step > 2 || dismissed_) return;
  std::weak_ptr<View> weak = weak_from_this();
  ui::animate(
      kSeconds[step],
      [this, step] {
        ui::Transform t = transform();
        t.scale = kScales[step];
        setTransform(t);
      },
      [weak, step](bool) {
        if (auto self = weak.lock()) static_cast<FBDialog&>(*self).bounce(step + 1);
      });
}

bool FBDialog::isShownInLandscape() const {
  ui::Application& app = ui::Application::shared();
  const ui::Window* window = app.keyWindow();
  ui::InterfaceOrientation orientation =
      window ? window->interfaceOrientation() : app.statusBarOrientation();
  bool landscape = ui::isLandscape(orientation);
  // An attached view turned a quarter against the window shows the other way round.
  std::optional<double> turn = ui::Window::attachedRotation(app.deviceOrientation(), orientation);
  if (turn && std::abs(std::sin(*turn)) > 0.5) landscape = !landscape;
  return landscape;
}

void FBDialog::sizeToFitOrientation() {
  ui::Application& app = ui::Application::shared();
  graphics::Rect frame;
  if (const ui::Window* window = app.keyWindow()) {
    frame = window->applicationFrame();
  } else {
    graphics::Size screen = ui::Window::screenSize(app.statusBarOrientation());
    frame = {0, ui::Window::kStatusBarHeight, screen.width,
             screen.height - ui::Window::kStatusBarHeight};
  }
  // The desktop window is the phone: the panel fills the application frame less the borders.
  double longSide = std::max(frame.width(), frame.height());
  double shortSide = std::min(frame.width(), frame.height());
  bool landscape = isShownInLandscape();
  landscape_ = landscape;
  double width = std::floor(landscape ? longSide : shortSide) - 2 * kPadding;
  double height = std::floor(landscape ? shortSide : longSide) - 2 * kPadding;
  graphics::Rect panel = frame;
  panel.size = {width, height};
  panel.origin = {frame.x() + std::ceil(frame.width() / 2) - width / 2,
                  frame.y() + std::ceil(frame.height() / 2) - height / 2};
  setFrame(panel);
}

void FBDialog::layoutPanel() {
  const double width = bounds().width(), height = bounds().height();
  const double innerWidth = width - (kBorderWidth * 2 + 2);

  graphics::Size icon = iconView_->image() ? iconView_->image()->size() : graphics::Size{};
  auto measurer = graphics::TextMeasurer::current();
  double titleHeight = measurer->lineHeight(titleLabel_->font());

  titleLabel_->setFrame({kBorderWidth + kTitleMarginX + icon.width + kTitleMarginX, kBorderWidth,
                         innerWidth - (titleHeight + icon.width + kTitleMarginX * 2),
                         titleHeight + kTitleMarginY * 2});
  const double t = titleLabel_->frame().height();
  iconView_->setFrame({kBorderWidth + kTitleMarginX,
                       kBorderWidth + std::floor(t / 2 - icon.height / 2), icon.width,
                       icon.height});
  closeButton_->setFrame({width - (t + kBorderWidth), kBorderWidth, t, t});
  webView_->setFrame(
      {kBorderWidth + 1, kBorderWidth + t, innerWidth, height - (t + 1 + kBorderWidth * 2)});

  double spin = spinner_->frame().width();
  graphics::Point c = webView_->frame().center();
  spinner_->setFrame({std::round(c.x - spin / 2), std::round(c.y - spin / 2), spin, spin});
}

void FBDialog::layoutSubviews() {
  layoutPanel();
}

void FBDialog::draw(graphics::Painter& painter) const {
  View::draw(painter);
  const graphics::Rect r = bounds();
  cairo_t* cr = painter.context();
  cairo_save(cr);
  addRoundedRectToPath(cr, {r.x() - 0.5, r.y() - 0.5, r.width(), r.height()}, kFrameRadius);
  cairo_set_source_rgba(cr, kFrameColor.red, kFrameColor.green, kFrameColor.blue,
                        kFrameColor.alpha * painter.alpha());
  cairo_fill(cr);
  cairo_restore(cr);

  graphics::Rect titleRect{std::ceil(r.x() + kBorderWidth), std::ceil(r.y() + kBorderWidth),
                           r.width() - kBorderWidth * 2, titleLabel_->frame().height()};
  painter.fillRect(titleRect, kTitleFill);
  strokeLines(painter, titleRect, kTitleStroke);

  graphics::Rect webRect{titleRect.x(), titleRect.y() + titleRect.height(), titleRect.width(),
                         webView_->frame().height() + 1};
  strokeLines(painter, webRect, kWebStroke);
}

std::string FBDialog::generateURL(const std::string& url, const Params& params) {
  if (params.empty()) return url;
  std::string query;
  for (const auto& [name, value] : params) {
    if (!query.empty()) query += '&';
    query += name + "=" + net::escapeComponent(value);
  }
  return url + "?" + query;
}

std::string FBDialog::generatePostBody(const Params& params) {
  const std::string delimiter = std::string("--") + kBoundary + "\r\n";
  std::string body = delimiter;
  for (const auto& [name, value] : params) {
    body += "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
    body += value;
    body += "\r\n" + delimiter;
  }
  return body;
}

std::string FBDialog::testCookieDomain(const std::string& webAddress,
                                       const std::string& cookieDomain) {
  std::string host = FBHosts::hostOf(webAddress);
  if (isIPAddress(host)) return host;
  std::string domain = cookieDomain.empty() ? host : cookieDomain;
  if (!domain.empty() && domain.front() == '.') domain.erase(0, 1);
  // The configured domain counts only when the web host is under it.
  if (host != domain && !host.ends_with("." + domain)) domain = host;
  return "." + domain;
}

void FBDialog::loadURL(const std::string& url, const std::optional<std::string>& method,
                       const Params& get, const Params& post) {
  if (session_) {
    const FBHosts& hosts = session_->hosts();
    ui::WebCookieJar::shared().addCookie("test_cookie", "1",
                                         testCookieDomain(hosts.web, hosts.cookieDomain), "/");
  }
  loadingURL_ = generateURL(url, get);
  std::optional<net::Url> parsed = net::Url::parse(*loadingURL_);
  if (!parsed) {
    webView_->loadRequest(std::string_view(*loadingURL_));  // reports the bad address
    return;
  }
  net::UrlRequest request(*parsed);
  if (method) {
    request.setHttpMethod(*method);
    if (base::toLowerAscii(*method) == "post") {
      request.setValue("Content-Type", std::string("multipart/form-data; boundary=") + kBoundary);
      if (!post.empty()) request.setHttpBody(generatePostBody(post));
    }
  }
  webView_->loadRequest(request);
}

bool FBDialog::shouldStartLoadWithRequest(ui::WebView&, const net::UrlRequest& request,
                                          ui::WebViewNavigationType type) {
  const net::Url& url = request.url();
  if (base::toLowerAscii(url.scheme()) == "fbdialog") {
    const std::string& text = url.absoluteString();
    std::string specifier = text.substr(text.find(':') + 1);
    if (specifier == "cancel") {
      dismissWithSuccess(false, true);
    } else {
      dialogDidSucceed(url);
    }
    return false;
  }
  if ((loadingURL_ && url.absoluteString() == *loadingURL_) ||
      type != ui::WebViewNavigationType::LinkClicked) {
    return true;
  }
  // Only web addresses leave for the user's browser; the panel keeps its page either way.
  std::string scheme = base::toLowerAscii(url.scheme());
  if (scheme != "http" && scheme != "https") return false;
  if (delegate_ && !delegate_->dialogShouldOpenURLInExternalBrowser(*this, url.absoluteString()))
    return false;
  ui::Application::shared().openURL(url.absoluteString());
  return false;
}

void FBDialog::webViewDidFinishLoad(ui::WebView& webView) {
  spinner_->stopAnimating();
  spinner_->setHidden(true);
  std::string title = webView.stringByEvaluatingJavaScriptFromString("document.title");
  titleLabel_->setText(base::utf16Prefix(title, kMaxTitleUnits));
  updateWebOrientation();
}

void FBDialog::webViewDidChangeTitle(ui::WebView& webView) {
  std::string title = webView.stringByEvaluatingJavaScriptFromString("document.title");
  titleLabel_->setText(base::utf16Prefix(title, kMaxTitleUnits));
}

void FBDialog::didFailLoadWithError(ui::WebView&, const net::Error& error) {
  // A refused navigation interrupts the load in progress: that is not a failure of the page.
  if (error.domain() == net::Error::kDomain &&
      (error.code() == net::Error::Cancelled || error.code() == net::Error::FrameLoadInterrupted))
    return;
  dismissWithError(error, true);
}

void FBDialog::dialogDidSucceed(const net::Url&) {
  dismissWithSuccess(true, true);
}

void FBDialog::updateWebOrientation() {
  if (isShownInLandscape()) {
    webView_->stringByEvaluatingJavaScriptFromString(
        "document.body.setAttribute('orientation', 90);");
  } else {
    webView_->stringByEvaluatingJavaScriptFromString(
        "document.body.removeAttribute('orientation');");
  }
}

void FBDialog::deviceOrientationDidChange() {
  if (dismissed_ || landscape_ == isShownInLandscape()) return;
  updateWebOrientation();
  sizeToFitOrientation();
  layoutPanel();
  if (ui::Window* window = ui::Application::shared().keyWindow()) window->setNeedsLayout();
}

void FBDialog::dismissWithSuccess(bool success, bool animated) {
  if (dismissed_) return;
  auto keep = shared_from_this();
  dismissed_ = true;
  if (delegate_) {
    if (success)
      delegate_->dialogDidSucceed(*this);
    else
      delegate_->dialogDidCancel(*this);
  }
  dialogWillDisappear();
  loadingURL_.reset();
  if (!animated) return postDismissCleanup();
  std::weak_ptr<View> weak = weak_from_this();
  ui::animate(
      kFadeOutSeconds, [this] { setAlpha(0); },
      [weak](bool) {
        if (auto self = weak.lock()) static_cast<FBDialog&>(*self).postDismissCleanup();
      });
}

void FBDialog::dismissWithError(const net::Error& error, bool animated) {
  if (dismissed_) return;
  auto keep = shared_from_this();
  dismissed_ = true;
  if (delegate_) delegate_->dialogDidFailWithError(*this, error);
  dialogWillDisappear();
  loadingURL_.reset();
  if (!animated) return postDismissCleanup();
  std::weak_ptr<View> weak = weak_from_this();
  ui::animate(
      kFadeOutSeconds, [this] { setAlpha(0); },
      [weak](bool) {
        if (auto self = weak.lock()) static_cast<FBDialog&>(*self).postDismissCleanup();
      });
}

void FBDialog::postDismissCleanup() {
  orientationObserver_ = {};
  auto keep = shared_from_this();
  webView_->stopLoading();
  removeFromSuperview();
}
