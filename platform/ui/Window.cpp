#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"

namespace ui {

namespace {

constexpr double kTurnDuration = 0.3;

// Clockwise angle of the device from upright; nullopt when it lies flat or is not known.
std::optional<double> deviceAngle(DeviceOrientation device) {
  switch (device) {
    case DeviceOrientation::Portrait:
      return 0.0;
    case DeviceOrientation::PortraitUpsideDown:
      return std::numbers::pi;
    case DeviceOrientation::LandscapeLeft:
      return std::numbers::pi / 2;
    case DeviceOrientation::LandscapeRight:
      return -std::numbers::pi / 2;
    default:
      return std::nullopt;
  }
}

}  // namespace

graphics::Size Window::screenSize(InterfaceOrientation orientation) {
  return isLandscape(orientation) ? graphics::Size{480, 320} : graphics::Size{320, 480};
}

Window::Window()
    : View(graphics::Rect{{0, 0}, screenSize(Application::shared().statusBarOrientation())}),
      orientation_(Application::shared().statusBarOrientation()) {
  setBackgroundColor(graphics::Color::black());
}

Window::~Window() {
  if (Application::shared().keyWindow() == this) Application::shared().setKeyWindow(nullptr);
}

graphics::Rect Window::applicationFrame() const {
  graphics::Rect b = bounds();
  return {0, kStatusBarHeight, b.width(), b.height() - kStatusBarHeight};
}

void Window::makeKeyAndVisible() {
  setHidden(false);
  Application::shared().setKeyWindow(this);
}

bool Window::isKeyWindow() const {
  return Application::shared().keyWindow() == this;
}

ViewController* Window::rootViewController() const {
  if (rootViewController_) return rootViewController_.get();
  return subviews().empty() ? nullptr : subviews().front()->viewController();
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
  if (rootViewController_ && rootViewController_->isViewLoaded()) {
    rootViewController_->view()->removeFromSuperview();
  }
  rootViewController_ = std::move(controller);
  if (!rootViewController_) return;
  const ViewPtr& view = rootViewController_->view();
  view->setFrame(applicationFrame());
  insertSubview(view, 0);
}

void Window::setInterfaceOrientation(InterfaceOrientation orientation) {
  orientation_ = orientation;
  setFrame(graphics::Rect{{0, 0}, screenSize(orientation)});
  for (const auto& child : subviews()) {
    if (child->viewController()) child->setFrame(applicationFrame());
  }
  placeAttachedViews(false);
}

std::optional<double> Window::attachedRotation(DeviceOrientation device,
                                               InterfaceOrientation window) {
  std::optional<double> held = deviceAngle(device);
  if (!held) return std::nullopt;
  double turn = *held - *deviceAngle(deviceOrientationFor(window));
  if (turn <= -std::numbers::pi) turn += 2 * std::numbers::pi;
  if (turn > std::numbers::pi) turn -= 2 * std::numbers::pi;
  return turn;
}

void Window::attachView(ViewPtr view) {
  View* raw = view.get();
  addSubview(std::move(view));
  attached_.push_back(raw);
  placeAttachedViews(false);
}

bool Window::isAttached(const View& view) const {
  return std::find(attached_.begin(), attached_.end(), &view) != attached_.end();
}

void Window::deviceOrientationDidChange(bool animated) {
  placeAttachedViews(animated);
}

void Window::layoutSubviews() {
  placeAttachedViews(false);
}

void Window::placeAttachedViews(bool animated) {
  std::optional<double> rotation =
      attachedRotation(Application::shared().deviceOrientation(), orientation_);
  graphics::Size size = bounds().size;
  for (View* view : attached_) {
    graphics::Size own = view->frame().size;
    graphics::Rect centred{std::round(size.width / 2 - own.width / 2),
                           std::round(size.height / 2 - own.height / 2), own.width, own.height};
    if (view->frame() != centred) view->setFrame(centred);
    if (!rotation || view->transform().rotation == *rotation) continue;
    Transform turned = view->transform();
    turned.rotation = *rotation;
    if (animated) {
      animate(kTurnDuration, [view, turned] { view->setTransform(turned); });
    } else {
      view->setTransform(turned);
    }
  }
}

// Only controllers standing on their own appear here; presented and contained ones are told
// by the controller that shows them.
void Window::didAddSubview(View& subview) {
  ViewController* controller = subview.viewController();
  if (!controller || controller->parentViewController()) return;
  controller->viewWillAppear(false);
  controller->viewDidAppear(false);
}

void Window::willRemoveSubview(View& subview) {
  std::erase(attached_, &subview);
  ViewController* controller = subview.viewController();
  if (!controller || controller->parentViewController()) return;
  controller->viewWillDisappear(false);
  controller->viewDidDisappear(false);
}

}  // namespace ui
