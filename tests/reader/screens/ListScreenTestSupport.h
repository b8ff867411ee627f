#pragma once
// The screen tests' common header: the fixture, the running reader and what the tests use.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/graphics/FixedTextMeasurer.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/WebView.h"
#include "reader/model/Utilities.h"
#include "reader/screens/BookmarkListViewController.h"
#include "reader/screens/DetailViewController.h"
#include "reader/screens/MainViewController.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/SapoViewController.h"
#include "reader/screens/ServiceDetailViewController.h"
#include "reader/screens/ServiceListViewController.h"
#include "reader/screens/StoryCell.h"
#include "reader/screens/SubServiceListViewController.h"
#include "reader/screens/ThumbnailCache.h"
#include "reader/screens/VemoAppDelegate.h"
#include "tests/reader/screens/ScreenTestSupport.h"
#include "tests/support/Stories.h"

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

// The screens' common fixture: fixed text metrics (0.5 of the point size a character, 1.2 a
// line), the news site on loopback serving two stories, and the reader launched on it.
class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Pushes a screen made from `args` and lets it settle.
  template <typename Screen, typename... Args>
  Screen& push(Args&&... args) {
    auto screen = std::make_shared<Screen>(std::forward<Args>(args)...);
    run_->navigation().pushViewController(screen, true);
    ReaderRun::settle();
    return *screen;
  }
  void pop() {
    run_->navigation().popViewController(false);
    ReaderRun::settle();
  }

  ScreenEnvironment env_;
  StorySite site_;
  std::unique_ptr<ReaderRun> run_;
};

}  // namespace screen_testing
