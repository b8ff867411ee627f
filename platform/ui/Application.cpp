#include "platform/ui/Application.h"

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
constexpr double kQuarterTurn = 0.3;
}

Application& Application::shared() {
  static Application application;
  return application;
}

bool Application::launch(const ApplicationDelegate::LaunchOptions& options) {
  state_ = State::Inactive;
  bool answer = delegate_ ? delegate_->didFinishLaunchingWithOptions(*this, options) : true;
  becomeActive();
  return answer;
}

void Application::becomeActive() {
  if (state_ == State::Active) return;
  state_ = State::Active;
  if (delegate_) delegate_->applicationDidBecomeActive(*this);
}

void Application::resignActive() {
  if (state_ != State::Active) return;
  state_ = State::Inactive;
  if (delegate_) delegate_->applicationWillResignActive(*this);
}

void Application::enterBackground() {
  if (state_ == State::Background || state_ == State::NotRunning) return;
  resignActive();
  state_ = State::Background;
  if (delegate_) delegate_->applicationDidEnterBackground(*this);
}

void Application::enterForeground() {
  if (state_ != State::Background) return;
  state_ = State::Inactive;
  if (delegate_) delegate_->applicationWillEnterForeground(*this);
  becomeActive();
}

void Application::terminate() {
  if (state_ == State::NotRunning) return;
  resignActive();
  if (delegate_) delegate_->applicationWillTerminate(*this);
  state_ = State::NotRunning;
}

void Application::receiveMemoryWarning() {
  if (delegate_) delegate_->applicationDidReceiveMemoryWarning(*this);
}

bool Application::isNetworkActivityIndicatorVisible() const {
  return net::NetworkActivityIndicator::shared().visible();
}

void Application::setNetworkActivityIndicatorVisible(bool visible) {
  net::NetworkActivityIndicator::shared().setVisible(visible);
}

void Application::rotate(InterfaceOrientation orientation) {
  deviceOrientation_ = deviceOrientationFor(orientation);
  ViewController* top = keyWindow_ ? keyWindow_->rootViewController() : nullptr;
  while (top && top->modalViewController()) top = top->modalViewController();
  InterfaceOrientation from = statusBarOrientation_;
  if (top && orientation != from && top->shouldAutorotateToInterfaceOrientation(orientation)) {
    double duration =
        isLandscape(orientation) == isLandscape(from) ? 2 * kQuarterTurn : kQuarterTurn;
    top->willRotateToInterfaceOrientation(orientation, duration);
    statusBarOrientation_ = orientation;
    keyWindow_->setInterfaceOrientation(orientation);
    top->willAnimateRotationToInterfaceOrientation(orientation, duration);
    base::RunLoop::main().performAfter(duration, [top, alive = top->lifetime(), from] {
      if (!alive.expired()) top->didRotateFromInterfaceOrientation(from);
    });
  }
  if (keyWindow_) keyWindow_->deviceOrientationDidChange(true);
  base::NotificationCenter::defaultCenter().post(kDeviceOrientationDidChangeNotification,
                                                 deviceOrientation_);
}

bool Application::isOpenableURL(std::string_view url) {
  for (unsigned char c : url) {
    if (c <= ' ' || c == 0x7F) return false;
  }
  size_t colon = url.find(':');
  if (colon == std::string_view::npos) return false;
  std::string scheme = base::toLowerAscii(url.substr(0, colon));
  if (scheme == "http" || scheme == "https") return url.substr(colon).starts_with("://");
  if (scheme != "mailto") return false;
  // Some mail programs attach any local file a mailto address names; header names written
  // with percent escapes are refused too rather than decoded.
  std::string rest = base::toLowerAscii(url.substr(colon + 1));
  size_t query = rest.find('?');
  if (query == std::string::npos) return true;
  for (const std::string& field : base::split(rest.substr(query + 1), "&")) {
    std::string name = field.substr(0, field.find('='));
    if (name.starts_with("attach") || name.find('%') != std::string::npos) return false;
  }
  return true;
}

bool Application::openURL(const std::string& url) {
  return isOpenableURL(url) && openURLHandler_ && openURLHandler_(url);
}

void Application::reset() {
  delegate_ = nullptr;
  state_ = State::NotRunning;
  keyWindow_ = nullptr;
  statusBarOrientation_ = InterfaceOrientation::Portrait;
  deviceOrientation_ = DeviceOrientation::Portrait;
  openURLHandler_ = nullptr;
  ignoring_ = 0;
  firstResponder_.reset();
}

}  // namespace ui
