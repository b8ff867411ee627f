#include "platform/ui/NavigationController.h"

#include <algorithm>

#include "platform/base/Log.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
constexpr double kSlideDuration = 0.35;
}

NavigationController::NavigationController(std::shared_ptr<ViewController> root)
    : toolbar_(std::make_shared<Toolbar>()), navigationBar_(std::make_shared<NavigationBar>()) {
  toolbar_->setHidden(true);
  if (root) {
    adopt(root);
    stack_.push_back(std::move(root));
  }
}

NavigationController::~NavigationController() {
  navigationBar_->setItem(nullptr);
  for (auto& controller : stack_) controller->navigationController_ = nullptr;
}

void NavigationController::adopt(const std::shared_ptr<ViewController>& controller) {
  controller->navigationController_ = this;
}

ViewController* NavigationController::topViewController() const {
  return stack_.empty() ? nullptr : stack_.back().get();
}

// Content views lie below the bars, which are the last subviews.
size_t NavigationController::barsIndex() {
  const auto& subviews = view()->subviews();
  for (size_t i = 0; i < subviews.size(); ++i) {
    if (subviews[i] == navigationBar_ || subviews[i] == toolbar_) return i;
  }
  return subviews.size();
}

graphics::Rect NavigationController::contentFrame() {
  graphics::Rect b = view()->bounds();
  double top = navigationBarHidden_ ? 0 : kBarHeight;
  double bottom = toolbarHidden_ ? 0 : Toolbar::kHeight;
  return {0, top, b.width(), std::max(0.0, b.height() - top - bottom)};
}

void NavigationController::layoutContent() {
  if (!isViewLoaded()) return;
  graphics::Rect b = view()->bounds();
  toolbar_->setFrame({0, b.height() - Toolbar::kHeight, b.width(), Toolbar::kHeight});
  toolbar_->setHidden(toolbarHidden_);
  navigationBar_->setFrame({0, 0, b.width(), NavigationBar::kHeight});
  // A hidden bar leaves the view tree altogether.
  if (navigationBarHidden_) {
    if (navigationBar_->superview()) navigationBar_->removeFromSuperview();
  } else if (!navigationBar_->superview()) {
    view()->insertSubview(navigationBar_, barsIndex());
  }
  if (auto* top = topViewController()) top->view()->setFrame(contentFrame());
}

void NavigationController::setNavigationBarHidden(bool hidden, bool) {
  navigationBarHidden_ = hidden;
  layoutContent();
}

void NavigationController::setToolbarHidden(bool hidden, bool) {
  toolbarHidden_ = hidden;
  layoutContent();
}

void NavigationController::loadView() {
  ViewController::loadView();
  view()->addSubview(toolbar_);
  if (auto* top = topViewController()) {
    view()->insertSubview(top->view(), 0);
    navigationBar_->setItem(&top->navigationItem());
  }
  layoutContent();
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller,
                                              bool animated) {
  if (!controller || std::find(stack_.begin(), stack_.end(), controller) != stack_.end()) {
    base::Log::write("pushViewController: the controller is missing or already on the stack");
    return;
  }
  finishTransition();
  std::shared_ptr<ViewController> from = stack_.empty() ? nullptr : stack_.back();
  adopt(controller);
  stack_.push_back(controller);
  transition(from, controller, animated, true, false);
}

bool NavigationController::popViewController(bool animated) {
  if (stack_.size() < 2) return false;
  finishTransition();
  std::shared_ptr<ViewController> popped = stack_.back();
  stack_.pop_back();
  transition(popped, stack_.back(), animated, false, true);
  return true;
}

void NavigationController::popToRootViewController(bool animated) {
  if (stack_.size() < 2) return;
  finishTransition();
  std::shared_ptr<ViewController> top = stack_.back();
  // The controllers between the root and the top leave without being seen.
  for (size_t i = 1; i + 1 < stack_.size(); ++i) {
    stack_[i]->navigationController_ = nullptr;
    releaseLater(stack_[i]);
  }
  stack_.resize(1);
  transition(top, stack_.front(), animated, false, true);
}

void NavigationController::setViewControllers(
    std::vector<std::shared_ptr<ViewController>> controllers) {
  if (controllers.empty()) return;
  finishTransition();
  auto kept = [&controllers](const std::shared_ptr<ViewController>& controller) {
    return std::find(controllers.begin(), controllers.end(), controller) != controllers.end();
  };
  std::shared_ptr<ViewController> from = stack_.empty() ? nullptr : stack_.back();
  for (const auto& controller : stack_) {
    if (controller != from && !kept(controller)) {
      controller->navigationController_ = nullptr;
      releaseLater(controller);
    }
  }
  const bool releaseFrom = from && !kept(from);
  stack_ = std::move(controllers);
  for (const auto& controller : stack_) adopt(controller);
  if (stack_.back() != from) transition(from, stack_.back(), false, true, releaseFrom);
}

void NavigationController::transition(std::shared_ptr<ViewController> from,
                                      std::shared_ptr<ViewController> to, bool animated,
                                      bool forward, bool releaseFrom) {
  bool slide = animated && isViewLoaded() && from;
  if (isViewLoaded()) {
    graphics::Rect target = contentFrame();
    const ViewPtr& toView = to->view();
    toView->setFrame(slide ? target.offsetBy(forward ? target.width() : -target.width(), 0)
                           : target);
    view()->insertSubview(toView, forward ? barsIndex() : 0);
    navigationBar_->setItem(&to->navigationItem());
  }
  bool shown = onScreen_;
  if (shown) {
    if (from) from->viewWillDisappear(animated);
    to->viewWillAppear(animated);
  }
  std::uint64_t id = ++transitionId_;
  finishTransition_ = [this, from, to, animated, shown, releaseFrom] {
    if (isViewLoaded()) {
      to->view()->setFrame(contentFrame());
      if (from && from->isViewLoaded()) from->view()->removeFromSuperview();
    }
    if (shown) {
      if (from) from->viewDidDisappear(animated);
      to->viewDidAppear(animated);
    }
    if (releaseFrom && from) {
      from->navigationController_ = nullptr;
      releaseLater(from);
    }
  };
  if (!slide) {
    finishTransition();
    return;
  }
  graphics::Rect target = contentFrame();
  animate(
      kSlideDuration,
      [&] {
        to->view()->setFrame(target);
        from->view()->setFrame(target.offsetBy(forward ? -target.width() : target.width(), 0));
      },
      [this, id, alive = lifetime()](bool) {
        if (!alive.expired() && id == transitionId_) finishTransition();
      });
}

void NavigationController::finishTransition() {
  if (!finishTransition_) return;
  auto finish = std::move(finishTransition_);
  finishTransition_ = nullptr;
  finish();
}

void NavigationController::viewWillAppear(bool animated) {
  onScreen_ = true;
  if (auto* top = topViewController()) top->viewWillAppear(animated);
}

void NavigationController::viewDidAppear(bool animated) {
  if (auto* top = topViewController()) top->viewDidAppear(animated);
}

void NavigationController::viewWillDisappear(bool animated) {
  if (auto* top = topViewController()) top->viewWillDisappear(animated);
}

void NavigationController::viewDidDisappear(bool animated) {
  onScreen_ = false;
  if (auto* top = topViewController()) top->viewDidDisappear(animated);
}

bool NavigationController::shouldAutorotateToInterfaceOrientation(
    InterfaceOrientation orientation) {
  auto* top = topViewController();
  return top ? top->shouldAutorotateToInterfaceOrientation(orientation)
             : ViewController::shouldAutorotateToInterfaceOrientation(orientation);
}

void NavigationController::willRotateToInterfaceOrientation(InterfaceOrientation orientation,
                                                            double duration) {
  if (auto* top = topViewController()) top->willRotateToInterfaceOrientation(orientation, duration);
}

void NavigationController::willAnimateRotationToInterfaceOrientation(
    InterfaceOrientation orientation, double duration) {
  layoutContent();
  if (auto* top = topViewController()) {
    top->willAnimateRotationToInterfaceOrientation(orientation, duration);
  }
}

void NavigationController::didRotateFromInterfaceOrientation(InterfaceOrientation from) {
  if (auto* top = topViewController()) top->didRotateFromInterfaceOrientation(from);
}

}  // namespace ui
