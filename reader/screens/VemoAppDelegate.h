#pragma once
#include <memory>

#include "platform/ui/Application.h"

namespace ui {
class NavigationController;
class Window;
}  // namespace ui

// Starts the reader: puts the home screen at the bottom of one navigation stack shown in the
// window, and posts "reload" each time the application becomes active.
class VemoAppDelegate : public ui::ApplicationDelegate {
 public:
  // The window the reader is shown in exists before launch (the shell may replace it).
  VemoAppDelegate();
  ~VemoAppDelegate() override;

  const std::shared_ptr<ui::Window>& window() const { return window_; }
  void setWindow(std::shared_ptr<ui::Window> window) { window_ = std::move(window); }
  ui::NavigationController* viewController() const { return viewController_.get(); }

  // Fills the hooks of ScreenFactory that are still empty with the reader's screens.
  static void installScreens();

  bool didFinishLaunchingWithOptions(ui::Application& application,
                                     const LaunchOptions& options) override;
  void applicationDidBecomeActive(ui::Application& application) override;

 private:
  std::shared_ptr<ui::Window> window_;
  std::shared_ptr<ui::NavigationController> viewController_;
};
