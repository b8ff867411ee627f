#include "platform/ui/ViewController.h"

#include "platform/ui/NavigationItem.h"

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
constexpr double kModalDuration = 0.3;
}

ViewController::ViewController() : lifetime_(std::make_shared<char>()) {}

ViewController::~ViewController() {
  if (view_ && view_->controller_ == this) view_->controller_ = nullptr;
  if (modal_ && modal_->presenting_ == this) modal_->presenting_ = nullptr;
}

const ViewPtr& ViewController::view() {
  if (!view_) {
    loadView();
    if (!view_) setView(std::make_shared<View>());
    viewDidLoad();
  }
  return view_;
}

void ViewController::setView(ViewPtr view) {
  if (view_ && view_->controller_ == this) view_->controller_ = nullptr;
  view_ = std::move(view);
  if (view_) view_->controller_ = this;
}

void ViewController::setTitle(std::string title) {
  title_ = std::move(title);
  if (navigationItem_) navigationItem_->setTitle(title_);
}

NavigationItem& ViewController::navigationItem() {
  if (!navigationItem_) {
    navigationItem_ = std::make_unique<NavigationItem>();
    navigationItem_->setTitle(title_);
  }
  return *navigationItem_;
}

void ViewController::loadView() {
  auto size = Window::screenSize(Application::shared().statusBarOrientation());
  setView(std::make_shared<View>(graphics::Rect{0, Window::kStatusBarHeight, size.width,
                                                size.height - Window::kStatusBarHeight}));
}

bool ViewController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) {
  return orientation == InterfaceOrientation::Portrait;
}

InterfaceOrientation ViewController::interfaceOrientation() const {
  return Application::shared().statusBarOrientation();
}

ViewController* ViewController::parentViewController() const {
  if (navigationController_) return navigationController_;
  return presenting_;
}

Window* ViewController::window() const {
  if (!view_) return nullptr;
  return dynamic_cast<Window*>(view_->rootView());
}

void ViewController::releaseLater(std::shared_ptr<ViewController> controller, double seconds) {
  leaving_.push_back(std::move(controller));
  ViewController* released = leaving_.back().get();
  std::weak_ptr<char> alive = lifetime_;
  base::RunLoop::main().performAfter(seconds, [this, alive, released] {
    if (alive.expired()) return;
    std::erase_if(leaving_, [released](const auto& c) { return c.get() == released; });
  });
}

void ViewController::presentModalViewController(std::shared_ptr<ViewController> controller,
                                                bool animated) {
  if (!controller) return;
  if (navigationController_) {
    navigationController_->presentModalViewController(std::move(controller), animated);
    return;
  }
  if (modal_) {
    base::Log::write("presentModalViewController: a controller is already presented");
    return;
  }
  modal_ = controller;
  controller->presenting_ = this;
  coveredIn_ = Application::shared().statusBarOrientation();
  const ViewPtr& modalView = controller->view();
  Window* win = window();
  viewWillDisappear(animated);
  controller->viewWillAppear(animated);
  if (win) {
    graphics::Rect target = win->applicationFrame();
    if (animated) {
      modalView->setFrame(target.offsetBy(0, target.height()));
    } else {
      modalView->setFrame(target);
    }
    // The window leaves the appearance calls of presented controllers to this function.
    win->addSubview(modalView);
    if (animated) animate(kModalDuration, [&] { modalView->setFrame(target); });
  }
  auto finish = [this, controller, animated, alive = lifetime()] {
    if (alive.expired() || modal_ != controller) return;
    viewDidDisappear(animated);
    controller->viewDidAppear(animated);
  };
  if (animated) {
    base::RunLoop::main().performAfter(kModalDuration, finish);
  } else {
    finish();
  }
}

void ViewController::dismissModalViewController(bool animated) {
  if (!modal_) {
    if (presenting_) presenting_->dismissModalViewController(animated);
    return;
  }
  std::shared_ptr<ViewController> dismissed = std::move(modal_);
  modal_.reset();
  double duration = animated ? kModalDuration : 0;
  releaseLater(dismissed, duration);
  dismissed->viewWillDisappear(animated);
  const InterfaceOrientation now = Application::shared().statusBarOrientation();
  if (now != coveredIn_ && shouldAutorotateToInterfaceOrientation(now)) {
    willRotateToInterfaceOrientation(now, 0);
    willAnimateRotationToInterfaceOrientation(now, 0);
    didRotateFromInterfaceOrientation(coveredIn_);
  }
  viewWillAppear(animated);
  ViewPtr modalView = dismissed->isViewLoaded() ? dismissed->view() : nullptr;
  if (modalView && animated) {
    graphics::Rect f = modalView->frame();
    animate(kModalDuration, [&] { modalView->setFrame(f.offsetBy(0, f.height())); });
  }
  auto finish = [this, dismissed, animated, alive = lifetime()] {
    if (alive.expired()) return;
    if (dismissed->isViewLoaded()) dismissed->view()->removeFromSuperview();
    dismissed->viewDidDisappear(animated);
    if (dismissed->presenting_ == this) dismissed->presenting_ = nullptr;
    viewDidAppear(animated);
  };
  if (animated) {
    base::RunLoop::main().performAfter(kModalDuration, finish);
  } else {
    finish();
  }
}

}  // namespace ui
