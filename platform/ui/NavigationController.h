#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/NavigationBar.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewController.h"

namespace ui {

// A stack of controllers showing the top one's view. The stack owns its controllers: a popped
// controller is released when its transition ends (at the next turn of the run loop when not
// animated), so it may pop itself from inside one of its own actions. Appearance calls reach
// the controllers while the navigation controller itself is on screen: the leaving one hears
// viewWillDisappear, the arriving one viewWillAppear, and after the slide (0.35 seconds when
// animated) viewDidDisappear and viewDidAppear.
class NavigationController : public ViewController {
 public:
  static constexpr double kBarHeight = 44;

  explicit NavigationController(std::shared_ptr<ViewController> root);
  ~NavigationController() override;

  void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
  // Pops the top controller unless it is the root; returns whether one was popped.
  bool popViewController(bool animated);
  void popToRootViewController(bool animated);
  // Replaces the whole stack (not animated): its last controller shows at once, and those no
  // longer on it are released. An empty list leaves the stack as it is.
  void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers);
  const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return stack_; }
  ViewController* topViewController() const;

  // The bar at the top shows the top controller's navigation item. Screens that draw their
  // own header hide it.
  NavigationBar& navigationBar() { return *navigationBar_; }
  bool isNavigationBarHidden() const { return navigationBarHidden_; }
  void setNavigationBarHidden(bool hidden, bool animated = false);
  Toolbar& toolbar() { return *toolbar_; }
  bool isToolbarHidden() const { return toolbarHidden_; }
  void setToolbarHidden(bool hidden, bool animated = false);
  // Where the top controller's view goes, in this controller's view coordinates.
  graphics::Rect contentFrame();

  void loadView() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) override;
  void willRotateToInterfaceOrientation(InterfaceOrientation orientation, double duration) override;
  void willAnimateRotationToInterfaceOrientation(InterfaceOrientation orientation,
                                                 double duration) override;
  void didRotateFromInterfaceOrientation(InterfaceOrientation from) override;

 private:
  void adopt(const std::shared_ptr<ViewController>& controller);
  void transition(std::shared_ptr<ViewController> from, std::shared_ptr<ViewController> to,
                  bool animated, bool forward, bool releaseFrom);
  void finishTransition();
  void layoutContent();
  size_t barsIndex();

  std::vector<std::shared_ptr<ViewController>> stack_;
  std::shared_ptr<Toolbar> toolbar_;
  std::shared_ptr<NavigationBar> navigationBar_;
  bool navigationBarHidden_ = false;
  bool toolbarHidden_ = true;
  bool onScreen_ = false;
  std::function<void()> finishTransition_;
  std::uint64_t transitionId_ = 0;
};

}  // namespace ui
