#pragma once
#include <memory>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/View.h"

namespace ui {

class ViewController;

// The screen: 320 × 480 points in portrait, 480 × 320 in landscape, with a 20-point status bar
// at the top; the application frame is the rest. A controller's view added to the window
// appears (its viewWillAppear and viewDidAppear run) and disappears when removed.
class Window : public View {
 public:
  static constexpr double kStatusBarHeight = 20;
  static graphics::Size screenSize(InterfaceOrientation orientation);

  Window();
  ~Window() override;

  std::string_view className() const override { return "Window"; }

  // The area below the status bar, in window coordinates.
  graphics::Rect applicationFrame() const;

  // Makes this the application's key window and shows it.
  void makeKeyAndVisible();
  bool isKeyWindow() const;

  // The root controller: the one set here, else the controller of the first subview.
  ViewController* rootViewController() const;
  // Shows `controller`'s view as the window's content, replacing the previous root's.
  void setRootViewController(std::shared_ptr<ViewController> controller);

  // Turns the screen: resizes the window and every controller view directly on it.
  void setInterfaceOrientation(InterfaceOrientation orientation);

 protected:
  void didAddSubview(View& subview) override;
  void willRemoveSubview(View& subview) override;

 private:
  std::shared_ptr<ViewController> rootViewController_;
};

}  // namespace ui
