#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/View.h"

namespace ui {

class ViewController;

// The screen: 320 × 480 points in portrait, 480 × 320 in landscape, with a 20-point status bar
// at the top; the application frame is the rest. A controller's view added to the window
// appears (its viewWillAppear and viewDidAppear run) and disappears when removed.
// Views attached to the window (panels shown over every screen) stay centred on it and stay
// upright for the user: they are turned by the device's angle minus the window's, so they do not
// turn while the window turns with the device.
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

  // Turns the screen: resizes the window and every controller view directly on it, and
  // re-centres and re-turns the attached views.
  void setInterfaceOrientation(InterfaceOrientation orientation);
  InterfaceOrientation interfaceOrientation() const { return orientation_; }

  // Adds `view` on top, centred (on whole points) and turned to match the device. It stays
  // attached until removed from the window.
  void attachView(ViewPtr view);
  bool isAttached(const View& view) const;
  // Whether a view is attached now (a panel or a notice over the screens).
  bool hasAttachedViews() const { return !attached_.empty(); }
  // The view attached last (on top), or nullptr.
  View* topAttachedView() const { return attached_.empty() ? nullptr : attached_.back(); }
  // The device turned: attached views turn to match, over 0.3 seconds when `animated`.
  void deviceOrientationDidChange(bool animated);
  // The rotation an attached view needs when the device is held as `device` and the window is
  // turned to `window`, in (-π, π]; nullopt for a device lying flat or not known, whose
  // attached views keep their rotation.
  static std::optional<double> attachedRotation(DeviceOrientation device,
                                                InterfaceOrientation window);

 protected:
  void didAddSubview(View& subview) override;
  void willRemoveSubview(View& subview) override;
  void layoutSubviews() override;

 private:
  void placeAttachedViews(bool animated);

  std::shared_ptr<ViewController> rootViewController_;
  InterfaceOrientation orientation_;
  std::vector<View*> attached_;
};

}  // namespace ui
