#include "platform/ui/Window.h"

#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"

namespace ui {

graphics::Size Window::screenSize(InterfaceOrientation orientation) {
  return isLandscape(orientation) ? graphics::Size{480, 320} : graphics::Size{320, 480};
}

Window::Window()
    : View(graphics::Rect{{0, 0}, screenSize(Application::shared().statusBarOrientation())}) {
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
  setFrame(graphics::Rect{{0, 0}, screenSize(orientation)});
  for (const auto& child : subviews()) {
    if (child->viewController()) child->setFrame(applicationFrame());
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
  ViewController* controller = subview.viewController();
  if (!controller || controller->parentViewController()) return;
  controller->viewWillDisappear(false);
  controller->viewDidDisappear(false);
}

}  // namespace ui
