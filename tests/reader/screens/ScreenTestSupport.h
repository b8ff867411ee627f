#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/graphics/TextMeasurer.h"
#include "reader/model/Item.h"
#include "reader/screens/ReaderScreen.h"
#include "tests/support/ExpectedFile.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/ViewTreeText.h"

namespace ui {
class Button;
class Label;
class View;
}  // namespace ui

// Shared pieces of the screen tests: a clean platform state, a news site on loopback, stand-in
// screens behind ScreenFactory, and view-tree lookups.
namespace screen_testing {

// Settings in a temporary folder, the virtual clock, no alerts, the application before launch.
// Restores everything on destruction.
class ScreenEnvironment {
 public:
  ScreenEnvironment();
  ~ScreenEnvironment();
  void useMeasurer(std::shared_ptr<const graphics::TextMeasurer> measurer);

 private:
  testing_support::TempDir temp_;
  std::shared_ptr<const graphics::TextMeasurer> previousMeasurer_;
  bool measurerReplaced_ = false;
};

struct FeedStory {
  std::string title;
  std::string imgLink;  // empty: no media:thumbnail
};
std::string rssFeed(const std::vector<FeedStory>& stories);
// `count` stories "Tin 0", "Tin 1", ... without pictures.
std::string rssFeed(int count);

// Serves /Home.rss, /mobi/app_menu.php (404 while empty), PNG pictures under /thumb/ and bytes
// that are no picture under /bad/; counts requests by raw target.
class StorySite {
 public:
  StorySite();
  std::string url(const std::string& path) const { return server_.url(path); }
  void setFeed(std::string feed);
  void setMenu(std::string menu);
  int hits(const std::string& target);

 private:
  std::mutex mutex_;
  std::string feed_, menu_, png_;
  std::map<std::string, int> hits_;
  // Last, so it stops first: a request still in flight must not find the members gone.
  testing_support::LoopbackServer server_;
};

// A stand-in for the screens that the home screen opens: records what it was given and keeps
// its landscape flag in step like every reader screen.
class ProbeScreen : public ReaderScreen {
 public:
  explicit ProbeScreen(const std::string& landscape) { _landscape = landscape == "YES"; }
  void viewDidLoad() override { observeLandscape(); }
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation, double) override {
    setLandscapeForOrientation(orientation);
    postLandscape();
  }
};

// Fills ScreenFactory with probes while alive.
class ProbeScreens {
 public:
  struct Opened {
    std::string kind;  // "sapo", "detail", "bookmarks", "services"
    std::vector<ItemPtr> items;
    size_t services = 0;
    int index = -1;
    std::string landscape;
    std::shared_ptr<ProbeScreen> screen;
  };
  ProbeScreens();
  ~ProbeScreens();
  std::vector<Opened> opened;
};

// The screen's story view (tag 999 among its view's subviews), or nullptr.
ui::View* storyView(ui::ViewController& screen);
int countTagged(ui::ViewController& screen, int tag);
// The first button among the view's subviews whose normal image is `image`.
ui::Button* buttonShowing(ui::ViewController& screen, const std::string& image);
ui::Label* labelWithText(ui::ViewController& screen, const std::string& text);
std::string imageName(const graphics::ImagePtr& image);
// The message of the alert on top ("" for none), after checking its title and single button.
std::string alertMessage();
// The view tree under `view` (down to `depth` levels) against the reviewed file
// tests/reader/screens/expected/<name>.txt; VEMO_UPDATE_EXPECTED=1 rewrites the files.
::testing::AssertionResult looksLike(const ui::View& view, const std::string& name, int depth = -1);

}  // namespace screen_testing
