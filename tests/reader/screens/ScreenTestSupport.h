#pragma once
// The screen tests' common header: a clean platform state, a news site on loopback, stand-in
// screens behind ScreenFactory, view-tree lookups and the running reader.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/NotificationCenter.h"
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
#include "tests/support/LoopbackServer.h"
#include "tests/support/Stories.h"
#include "tests/support/TempDir.h"

namespace screen_testing {

// `count` stories "Tin 0", "Tin 1", ..., each with the thumbnail in `pictures` at its place if
// that is not empty.
std::string rssFeed(int count, const std::vector<std::string>& pictures = {});

// Serves /Home.rss, /mobi/app_menu.php (404 while empty), PNG pictures under /thumb/ and /pic,
// bytes that are no picture under /bad/; counts requests by raw target. One request per
// connection, so a kept-alive connection never holds one of the few server threads.
class StorySite {
 public:
  StorySite();
  std::string url(const std::string& path) const { return server_.url(path); }
  void setFeed(std::string feed) {
    std::lock_guard lock(mutex_);
    feed_ = std::move(feed);
  }
  void setMenu(std::string menu) {
    std::lock_guard lock(mutex_);
    menu_ = std::move(menu);
  }
  int hits(const std::string& target);

 private:
  std::mutex mutex_;
  std::string feed_, menu_, png_;
  std::map<std::string, int> hits_;
  // Last, so it stops first: a request still in flight must not find the members gone.
  testing_support::LoopbackServer server_;
};

// A stand-in for the screens that other screens open: keeps its landscape flag in step like
// every reader screen.
class ProbeScreen : public ReaderScreen {
 public:
  explicit ProbeScreen(const std::string& landscape) { _landscape = landscape == "YES"; }
  void viewDidLoad() override { observeLandscape(); }
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation, double) override {
    setLandscapeForOrientation(orientation);
    postLandscape();
  }
};

// Fills ScreenFactory's lead and article reader hooks with probes while alive, recording what
// each was given.
class ProbeScreens {
 public:
  struct Opened {
    std::string kind;  // "sapo" or "detail"
    std::vector<ItemPtr> items;
    int index = -1;
    std::string landscape;
  };
  ProbeScreens();
  ~ProbeScreens();
  // What was opened, as "kind index/stories landscape" entries separated by "; ".
  std::string log() const;
  std::vector<Opened> opened;
};

// The screen's story view (tagged 999), or nullptr.
inline ui::View* storyView(ui::ViewController& screen) {
  return screen.view()->viewWithTag(999);
}
int countTagged(ui::ViewController& screen, int tag);
// The first button among the view's subviews whose normal image is `image`.
ui::Button* buttonShowing(ui::ViewController& screen, const std::string& image);
inline std::string imageName(const graphics::ImagePtr& image) {
  return image ? image->name() : "";
}
inline std::string shownImage(const ui::Button* button) {
  return imageName(button->image(ui::ControlState::Normal));
}
ui::HeadlessWebEngine& engine(DetailViewController& screen);
// The message of the alert on top ("" for none), after checking its title and single button;
// the alerts are dismissed.
std::string alertMessage();
// The view tree under `view` (down to `depth` levels) against the reviewed file
// tests/reader/screens/expected/<name>.txt; VEMO_UPDATE_EXPECTED=1 rewrites the files.
::testing::AssertionResult looksLike(const ui::View& view, const std::string& name, int depth = -1);
// Runs the main loop on the virtual clock; press taps the button first.
inline void settle(double seconds = 1.0) {
  base::RunLoop::main().runFor(seconds);
}
void press(ui::Button* button);
void rotate(ui::InterfaceOrientation orientation);

// The news site on loopback and the reader launched on it (by SetUp, on two stories), with
// settings in a temporary folder, the virtual clock, no alerts, the application before launch and
// fixed text metrics (0.5 of the point size a character, 1.2 a line); all restored at the end.
class ReaderTest : public ::testing::Test {
 protected:
  ReaderTest();
  ~ReaderTest() override;
  void SetUp() override { launch(); }
  // Serves `feed` as the home feed and launches the reader, ending one launched before, and waits
  // for the feed when asked. The empty hooks of ScreenFactory get the reader's screens (set
  // probes before to keep them).
  MainViewController& launch(const std::string& feed = rssFeed(2), bool wait = true);
  // Ends the reader launched last, if any, and empties ScreenFactory.
  void end();
  ui::NavigationController& navigation() { return *delegate_->viewController(); }
  ui::ViewController* top() { return navigation().topViewController(); }
  static bool indicator() { return ui::Application::shared().isNetworkActivityIndicatorVisible(); }
  template <typename Screen, typename... Args>
  Screen& push(Args&&... args) {
    auto screen = std::make_shared<Screen>(std::forward<Args>(args)...);
    navigation().pushViewController(screen, true);
    settle();
    return *screen;
  }
  void pop() {
    navigation().popViewController(false);
    settle();
  }
  // The screen on top as a `Screen` (any other fails the test with std::bad_cast).
  template <typename Screen>
  Screen& topAs() {
    return dynamic_cast<Screen&>(*top());
  }

  testing_support::TempDir temp_;
  std::shared_ptr<const graphics::TextMeasurer> previousMeasurer_;
  StorySite site_;
  std::unique_ptr<VemoAppDelegate> delegate_;
};

}  // namespace screen_testing
