#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/View.h"

namespace ui {

class NavigationController;
class NavigationItem;
class Window;

enum class ModalPresentationStyle { FullScreen, PageSheet, FormSheet, CurrentContext };
enum class ModalTransitionStyle { CoverVertical, FlipHorizontal, CrossDissolve, PartialCurl };

// Owns one screen's view, made on first use (loadView, then viewDidLoad), and hears when it
// appears, disappears and rotates. A controller may present another one modally over the
// whole screen; it owns the presented controller until it is dismissed.
class ViewController {
 public:
  ViewController();
  virtual ~ViewController();
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  // The view, loaded on first use.
  const ViewPtr& view();
  bool isViewLoaded() const { return view_ != nullptr; }
  // Replaces the view (loadView overrides call this).
  void setView(ViewPtr view);

  const std::string& title() const { return title_; }
  // Also the navigation item's title.
  void setTitle(std::string title);
  // What the navigation bar shows while this controller is on top of a navigation stack;
  // made on first use with the controller's title.
  NavigationItem& navigationItem();

  // Makes the view: a plain view filling the application frame. Override to build another.
  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewWillAppear(bool /*animated*/) {}
  virtual void viewDidAppear(bool /*animated*/) {}
  virtual void viewWillDisappear(bool /*animated*/) {}
  virtual void viewDidDisappear(bool /*animated*/) {}

  // Rotation: asked first; then told before the turn, inside its animation (the view already
  // has its new size) and after it.
  virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation);
  virtual void willRotateToInterfaceOrientation(InterfaceOrientation /*orientation*/,
                                                double /*duration*/) {}
  virtual void willAnimateRotationToInterfaceOrientation(InterfaceOrientation /*orientation*/,
                                                         double /*duration*/) {}
  virtual void didRotateFromInterfaceOrientation(InterfaceOrientation /*from*/) {}
  // The application's current interface orientation.
  InterfaceOrientation interfaceOrientation() const;

  // The navigation controller whose stack holds this controller, if any.
  NavigationController* navigationController() const { return navigationController_; }
  // The navigation controller holding this one, else the controller that presented it.
  ViewController* parentViewController() const;
  ViewController* modalViewController() const { return modal_.get(); }

  ModalPresentationStyle modalPresentationStyle() const { return presentationStyle_; }
  void setModalPresentationStyle(ModalPresentationStyle style) { presentationStyle_ = style; }
  ModalTransitionStyle modalTransitionStyle() const { return transitionStyle_; }
  void setModalTransitionStyle(ModalTransitionStyle style) { transitionStyle_ = style; }

  // Shows `controller` over the screen (sliding up when animated, 0.3 seconds). A controller
  // inside a navigation stack presents from its navigation controller. Ignored while another
  // controller is presented here.
  void presentModalViewController(std::shared_ptr<ViewController> controller, bool animated);
  // Dismisses the controller presented here or, when there is none, the one that presents
  // this controller. The dismissed controller is released once its view has gone. A turn of the
  // interface made while it covered this controller reaches this one now (not animated), when
  // this one takes the new orientation.
  void dismissModalViewController(bool animated);

  // Alive as long as this controller: deferred calls that may outlive it hold a weak copy.
  std::weak_ptr<char> lifetime() const { return lifetime_; }

 protected:
  // Keeps `controller` until the current turn of the run loop is over (or `seconds` later),
  // so that one leaving the screen may finish the call it is inside.
  void releaseLater(std::shared_ptr<ViewController> controller, double seconds = 0);
  // The window this controller's view is in, if any.
  Window* window() const;

 private:
  friend class NavigationController;

  ViewPtr view_;
  std::string title_;
  std::unique_ptr<NavigationItem> navigationItem_;
  NavigationController* navigationController_ = nullptr;
  ViewController* presenting_ = nullptr;
  std::shared_ptr<ViewController> modal_;
  // The interface's orientation when modal_ was presented.
  InterfaceOrientation coveredIn_ = InterfaceOrientation::Portrait;
  std::vector<std::shared_ptr<ViewController>> leaving_;
  ModalPresentationStyle presentationStyle_ = ModalPresentationStyle::FullScreen;
  ModalTransitionStyle transitionStyle_ = ModalTransitionStyle::CoverVertical;
  std::shared_ptr<char> lifetime_;
};

}  // namespace ui
