#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/InterfaceOrientation.h"

namespace ui {

class Application;
class View;
class Window;

// Told about the application's life; every method is optional.
class ApplicationDelegate {
 public:
  using LaunchOptions = std::map<std::string, std::string>;
  virtual ~ApplicationDelegate() = default;
  virtual bool didFinishLaunchingWithOptions(Application&, const LaunchOptions&) { return true; }
  virtual void applicationDidBecomeActive(Application&) {}
  virtual void applicationWillResignActive(Application&) {}
  virtual void applicationDidEnterBackground(Application&) {}
  virtual void applicationWillEnterForeground(Application&) {}
  virtual void applicationWillTerminate(Application&) {}
  virtual void applicationDidReceiveMemoryWarning(Application&) {}
};

// The running application: its delegate, key window, orientation, network activity flag and
// the link to the desktop (opening addresses). The shell and tests drive its life and rotation.
class Application {
 public:
  // Posted after every device turn, with the new DeviceOrientation as object.
  static constexpr const char* kDeviceOrientationDidChangeNotification =
      "UIDeviceOrientationDidChangeNotification";
  enum class State { NotRunning, Active, Inactive, Background };

  static Application& shared();

  ApplicationDelegate* delegate() const { return delegate_; }
  void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }
  State state() const { return state_; }

  // Starts: the delegate's didFinishLaunchingWithOptions, then activation. Returns its answer.
  bool launch(const ApplicationDelegate::LaunchOptions& options = {});
  void becomeActive();
  void resignActive();
  // Resigns active, then enters the background.
  void enterBackground();
  // Comes back from the background and becomes active.
  void enterForeground();
  void terminate();
  void receiveMemoryWarning();

  Window* keyWindow() const { return keyWindow_; }
  void setKeyWindow(Window* window) { keyWindow_ = window; }

  // Shows or hides the network activity indicator (shared with the network layer).
  bool isNetworkActivityIndicatorVisible() const;
  void setNetworkActivityIndicatorVisible(bool visible);

  InterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
  DeviceOrientation deviceOrientation() const { return deviceOrientation_; }
  // The device turns to `orientation`. When the key window's top controller accepts it: that
  // controller hears willRotateToInterfaceOrientation, the status bar and the window turn, it
  // hears willAnimateRotationToInterfaceOrientation, and didRotateFromInterfaceOrientation
  // after the turn (0.3 seconds; 0.6 for a half turn). Then the views attached to the key
  // window turn to match the device, and the device orientation notification is posted,
  // whether the interface turned or not.
  void rotate(InterfaceOrientation orientation);

  // Opens an http, https or mailto address with the desktop's handler. False for any other
  // scheme, for an address holding blanks or control characters, for a mail address that
  // asks to attach files, when no handler is set, or when the handler fails.
  bool openURL(const std::string& url);
  static bool isOpenableURL(std::string_view url);
  void setOpenURLHandler(std::function<bool(const std::string&)> handler) {
    openURLHandler_ = std::move(handler);
  }

  // While a screen is busy, taps are ignored. Calls nest.
  void beginIgnoringInteractionEvents() { ++ignoring_; }
  void endIgnoringInteractionEvents() {
    if (ignoring_ > 0) --ignoring_;
  }
  bool isIgnoringInteractionEvents() const { return ignoring_ > 0; }

  // The view keyboard input goes to, or nullptr; see View::becomeFirstResponder.
  View* firstResponder() const { return firstResponder_.lock().get(); }

  // Back to the state before launch: no delegate, window or handler, portrait (tests).
  void reset();

 private:
  friend class View;
  Application() = default;

  ApplicationDelegate* delegate_ = nullptr;
  State state_ = State::NotRunning;
  Window* keyWindow_ = nullptr;
  InterfaceOrientation statusBarOrientation_ = InterfaceOrientation::Portrait;
  DeviceOrientation deviceOrientation_ = DeviceOrientation::Portrait;
  std::function<bool(const std::string&)> openURLHandler_;
  int ignoring_ = 0;
  std::weak_ptr<View> firstResponder_;
};

}  // namespace ui
