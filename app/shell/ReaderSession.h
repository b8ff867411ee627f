#pragma once
#include <memory>
#include <string>

#include "app/servers/LoopbackSite.h"

class VemoAppDelegate;
namespace ui {
class NavigationController;
class ViewController;
class Window;
}  // namespace ui

// The reader running in this process: the news site it reads (the one given, the configuration
// file's, or the demo site served on loopback), the application delegate with its window and
// navigation stack, and the application's life. Used by the window and the headless commands.
class ReaderSession {
 public:
  ReaderSession();
  ~ReaderSession();
  ReaderSession(const ReaderSession&) = delete;
  ReaderSession& operator=(const ReaderSession&) = delete;

  // Chooses the site and hands it to the screens. False, with a reason, when the demo site
  // cannot be served.
  bool chooseSite(const std::string& site, std::string& error);
  const std::string& siteAddress() const { return site_; }
  bool usesDemoSite() const { return demo_ && demo_->running(); }

  // The window exists from the start; launching fills it.
  // Starts the application: didFinishLaunchingWithOptions, then applicationDidBecomeActive.
  void launch();

  ui::Window& window() const;
  ui::NavigationController* navigation() const;
  // The screen the user sees: the top of the stack, or what it presents.
  ui::ViewController* topScreen() const;

  // Runs the main loop until the screens are at rest: no network activity or feed download
  // waiting for its continuation, no push or pop under way, and `extra` seconds more for late
  // pictures; the views laid out as the window lays them out. False when that took over
  // `timeout` seconds.
  bool settle(double timeout = 15, double extra = 0.4);

 private:
  std::unique_ptr<LoopbackSite> demo_;
  std::string site_;
  std::unique_ptr<VemoAppDelegate> delegate_;
};
