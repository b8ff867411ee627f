#pragma once
#include <string>

#include "platform/ui/NavigationController.h"
#include "reader/screens/VemoAppDelegate.h"
#include "tests/reader/screens/ScreenTestSupport.h"

// The category screens' tests start the whole reader on a loopback site and walk from the
// home screen as a user's taps would.
namespace screen_testing {

class ReaderRun {
 public:
  // Fills ScreenFactory's empty hooks (set probes before this to keep them) and launches.
  ReaderRun();
  ~ReaderRun();

  ui::NavigationController& navigation() { return *delegate_.viewController(); }
  ui::ViewController* top() { return navigation().topViewController(); }
  // Taps the home screen's category menu button and waits for the push.
  void openMenu();
  // Runs the main loop on the virtual clock.
  static void settle(double seconds = 1.0);

 private:
  VemoAppDelegate delegate_;
};

}  // namespace screen_testing
