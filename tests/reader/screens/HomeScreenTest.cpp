#include "reader/screens/MainViewController.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/graphics/FixedTextMeasurer.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "reader/model/Utilities.h"
#include "reader/screens/FeedDownload.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/ScreenFactory.h"
#include "reader/screens/StoryCell.h"
#include "reader/screens/ThumbnailCache.h"
#include "reader/screens/VemoAppDelegate.h"
#include "tests/reader/screens/ScreenTestSupport.h"
#include "tests/support/TempDir.h"

using graphics::Rect;
using graphics::Size;
using namespace screen_testing;

namespace {

class HomeScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.useMeasurer(std::make_shared<graphics::FixedTextMeasurer>(0.5, 1.2));
    NewsSite::setBaseAddress(site_.url(""));
  }

  MainViewController& launch() {
    ui::Application::shared().setDelegate(&delegate_);
    ui::Application::shared().launch();
    settle();
    return *static_cast<MainViewController*>(
        delegate_.viewController()->viewControllers().front().get());
  }
  void settle(double seconds = 1.0) { base::RunLoop::main().runFor(seconds); }
  ui::NavigationController& navigation() { return *delegate_.viewController(); }

  ScreenEnvironment env_;
  StorySite site_;
  VemoAppDelegate delegate_;
};

}  // namespace

TEST_F(HomeScreenTest, LaunchFetchesTheFeedTwiceAndShowsTheSevenStoryGrid) {
  site_.setFeed(rssFeed(7));
  base::LogCapture log;
  MainViewController& home = launch();

  EXPECT_EQ(site_.hits("/Home.rss"), 2);
  EXPECT_TRUE(log.contains("MainviewController"));
  EXPECT_TRUE(log.contains("did become active"));
  EXPECT_EQ(log.count("COUNT = 7"), 2u);
  EXPECT_TRUE(navigation().isNavigationBarHidden());
  EXPECT_EQ(home.view()->backgroundColor(), graphics::Color::rgb(227, 218, 207));

  auto* grid = storyView(home);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->className(), "ScrollView");
  EXPECT_EQ(grid->frame(), Rect(0, 44, 320, 416));
  ASSERT_EQ(grid->subviews().size(), 7u);
  EXPECT_EQ(grid->subviews()[6]->frame(), Rect(0, 453, 320, 151));
  EXPECT_EQ(grid->subviews()[6]->tag(), 6);
  EXPECT_EQ(grid->subviews()[2]->frame(), Rect(214, 151, 107, 151));
  EXPECT_EQ(static_cast<ui::ScrollView*>(grid)->contentSize(), Size(320, 604));
  auto* tile = static_cast<ui::Button*>(grid->subviews()[0].get());
  EXPECT_EQ(imageName(tile->backgroundImage(ui::ControlState::Highlighted)), "focus.png");
  EXPECT_EQ(imageName(tile->backgroundImage(ui::ControlState::Selected)), "focus.png");
  EXPECT_EQ(imageName(home.styleButton()->image(ui::ControlState::Normal)), "post_list.png");

  // Header in portrait.
  EXPECT_EQ(buttonShowing(home, "menu_home.png")->frame(), Rect(0, 2, 40, 40));
  EXPECT_EQ(buttonShowing(home, "tools.png")->frame(), Rect(38, 6, 36, 36));
  EXPECT_EQ(buttonShowing(home, "fav_saved.png")->frame(), Rect(74, 2, 40, 40));
  EXPECT_EQ(buttonShowing(home, "web_refresh.png")->frame(), Rect(240, 2, 40, 40));
  EXPECT_EQ(home.styleButton()->frame(), Rect(280, 2, 40, 40));
  auto* title = labelWithText(home, "Vemo");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->frame(), Rect(60, 0, 240, 44));
  EXPECT_EQ(title->alpha(), 0.8);

  // Activation fetches again and lays the stories out again.
  ui::Application::shared().resignActive();
  ui::Application::shared().becomeActive();
  settle();
  EXPECT_EQ(site_.hits("/Home.rss"), 3);
}

TEST_F(HomeScreenTest, TileTapOpensTheLeadReaderAfterTheDeferral) {
  site_.setFeed(rssFeed(7));
  ProbeScreens probes;
  MainViewController& home = launch();
  auto* tile = static_cast<ui::Button*>(storyView(home)->subviews()[3].get());
  tile->sendActionsForTouchUpInside();
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  base::RunLoop::main().runFor(0.19);
  EXPECT_EQ(navigation().viewControllers().size(), 1u);
  settle();
  ASSERT_EQ(navigation().viewControllers().size(), 2u);
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].kind, "sapo");
  EXPECT_EQ(probes.opened[0].index, 3);
  EXPECT_EQ(probes.opened[0].items.size(), 7u);
  EXPECT_EQ(probes.opened[0].landscape, "NO");
}

TEST_F(HomeScreenTest, LandscapeGridAndHeaderAfterRotationAndOnReturn) {
  site_.setFeed(rssFeed(5));
  ProbeScreens probes;
  MainViewController& home = launch();

  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  settle();
  EXPECT_TRUE(home.landscape());
  auto* grid = storyView(home);
  EXPECT_EQ(grid->frame(), Rect(0, 44, 480, 256));
  ASSERT_EQ(grid->subviews().size(), 5u);
  EXPECT_EQ(grid->subviews()[4]->frame(), Rect(0, 200, 480, 100));
  EXPECT_EQ(grid->subviews()[3]->frame(), Rect(320, 100, 160, 100));
  EXPECT_EQ(static_cast<ui::ScrollView*>(grid)->contentSize(), Size(480, 300));
  EXPECT_EQ(buttonShowing(home, "tools.png")->frame(), Rect(40, 6, 36, 36));
  EXPECT_EQ(buttonShowing(home, "fav_saved.png")->frame(), Rect(80, 0, 44, 44));
  EXPECT_EQ(buttonShowing(home, "web_refresh.png")->frame(), Rect(400, 2, 40, 40));
  EXPECT_EQ(home.styleButton()->frame(), Rect(440, 2, 40, 40));
  EXPECT_EQ(labelWithText(home, "Vemo")->frame(), Rect(120, 0, 240, 44));

  // A screen pushed in landscape gets "YES"; turning there reaches the home screen below it.
  static_cast<ui::Button*>(storyView(home)->subviews()[0].get())->sendActionsForTouchUpInside();
  settle();
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].landscape, "YES");
  ui::Application::shared().rotate(ui::InterfaceOrientation::Portrait);
  settle();
  EXPECT_FALSE(probes.opened[0].screen->landscape());
  EXPECT_FALSE(home.landscape());
  // Back on the home screen it lays itself out for portrait.
  navigation().popViewController(true);
  settle();
  EXPECT_EQ(storyView(home)->frame(), Rect(0, 44, 320, 416));
  EXPECT_EQ(buttonShowing(home, "tools.png")->frame(), Rect(38, 6, 36, 36));
  EXPECT_EQ(labelWithText(home, "Vemo")->frame(), Rect(60, 0, 240, 44));
}

namespace {

// Each tile's frame, tag and first label: what the grid shows.
std::vector<std::string> gridLayout(ui::View& grid) {
  std::vector<std::string> out;
  for (const auto& tile : grid.subviews()) {
    const auto* label = dynamic_cast<const ui::Label*>(tile->subviews().front().get());
    graphics::Rect f = tile->frame();
    out.push_back(std::to_string(tile->tag()) + "@" + std::to_string(f.x()) + "," +
                  std::to_string(f.y()) + " " + std::to_string(f.width()) + "x" +
                  std::to_string(f.height()) + " " + (label ? label->text() : "?"));
  }
  return out;
}

}  // namespace

TEST_F(HomeScreenTest, RebuiltGridShowsTheSameTilesFromTheTopAndNewStoriesAfterARefresh) {
  site_.setFeed(rssFeed(8));
  MainViewController& home = launch();
  auto* grid = static_cast<ui::ScrollView*>(storyView(home));
  const std::vector<std::string> layout = gridLayout(*grid);
  ASSERT_EQ(layout.size(), 8u);
  grid->setContentOffset({0, 200});
  home.checkTheStyleView();
  auto* again = static_cast<ui::ScrollView*>(storyView(home));
  EXPECT_EQ(again->contentOffset(), graphics::Point(0, 0));
  EXPECT_EQ(gridLayout(*again), layout);
  EXPECT_EQ(home.view()->subviews().back().get(), again);

  site_.setFeed(rssFeed({{"Mới"}, {"Khác"}}));
  home.refreshButtonPush();
  settle();
  std::vector<std::string> fresh = gridLayout(*storyView(home));
  ASSERT_EQ(fresh.size(), 2u);
  EXPECT_NE(fresh[0].find("Mới"), std::string::npos) << fresh[0];
  EXPECT_NE(fresh[1].find("Khác"), std::string::npos) << fresh[1];
}

TEST_F(HomeScreenTest, OneStoryGivesOneWideTileInEitherOrientation) {
  site_.setFeed(rssFeed(1));
  MainViewController& home = launch();
  ASSERT_EQ(storyView(home)->subviews().size(), 1u);
  EXPECT_EQ(static_cast<ui::ScrollView*>(storyView(home))->contentSize(), Size(320, 151));
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeRight);
  settle();
  EXPECT_EQ(storyView(home)->subviews()[0]->frame(), Rect(0, 0, 480, 100));
  EXPECT_EQ(static_cast<ui::ScrollView*>(storyView(home))->contentSize(), Size(480, 100));
}

TEST_F(HomeScreenTest, StyleSwitchStoresTheChoiceAndReplacesTheStoryView) {
  site_.setFeed(rssFeed(3));
  MainViewController& home = launch();
  home.styleButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(Utilities().getStyleView(), "list");
  EXPECT_EQ(home.styleString(), "list");
  EXPECT_EQ(imageName(home.styleButton()->image(ui::ControlState::Normal)), "post_box.png");
  EXPECT_EQ(countTagged(home, 999), 1);
  ASSERT_EQ(storyView(home)->className(), "TableView");
  EXPECT_EQ(storyView(home)->frame(), Rect(0, 44, 320, 416));
  EXPECT_EQ(home.tableView()->numberOfRowsInSection(0), 3);
  EXPECT_EQ(home.tableView()->rectForRowAtIndexPath({0, 1}).height(), 121);

  home.styleButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(Utilities().getStyleView(), "grid");
  EXPECT_EQ(storyView(home)->className(), "ScrollView");
  EXPECT_EQ(countTagged(home, 999), 1);
}

TEST_F(HomeScreenTest, ListRowsShowThumbnailsOnceTheyArrive) {
  Utilities().setStyleView("list");
  std::vector<FeedStory> stories = {
      {"Tin một", site_.url("/thumb/a b.png")},
      {"Tin hai", ""},
      {"Tin ba", site_.url("/bad/c.png")},
      {"Tin bốn", site_.url("/thumb/a b.png")},
  };
  site_.setFeed(rssFeed(stories));
  MainViewController& home = launch();
  ui::TableView* table = home.tableView();
  ASSERT_NE(table, nullptr);

  // Laying the rows out starts the fetches; wait for the one good picture (rows 0 and 3).
  EXPECT_EQ(table->visibleCells().size(), 4u);
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition(
      [&] { return home.thumbnails().imageFor(site_.url("/thumb/a b.png")) != nullptr; }));
  settle(0.1);
  EXPECT_EQ(site_.hits("/thumb/a%20b.png"), 1);
  // The arrival reloaded the table: its own row now shows the picture, text at x 90.
  ui::TableViewCell* shown = table->cellForRowAtIndexPath({0, 3});
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->viewWithTag(StoryCell::kTitleTag)->frame().x(), 90);
  // The undecodable picture is fetched on real time, so wait for its request.
  EXPECT_TRUE(
      base::RunLoop::main().runUntilCondition([&] { return site_.hits("/bad/c.png") >= 1; }));
  EXPECT_EQ(site_.hits("/bad/c.png"), 1);

  auto row = [&](int r) {
    auto cell = home.cellForRowAtIndexPath(*table, {0, r});
    return cell;
  };
  auto withPicture = row(0);
  auto* thumb = static_cast<ui::ImageView*>(withPicture->viewWithTag(StoryCell::kThumbnailTag));
  EXPECT_NE(imageName(thumb->image()), "icon_default.png");
  EXPECT_EQ(withPicture->viewWithTag(StoryCell::kTitleTag)->frame().x(), 90);
  EXPECT_EQ(withPicture->viewWithTag(StoryCell::kTitleTag)->frame().width(), 215);

  // No picture link: an empty thumbnail; a picture that failed: the placeholder.
  for (auto [r, shown] : {std::pair{1, ""}, std::pair{2, "icon_default.png"}}) {
    auto cell = row(r);
    auto* image = static_cast<ui::ImageView*>(cell->viewWithTag(StoryCell::kThumbnailTag));
    EXPECT_EQ(imageName(image->image()), shown) << r;
    EXPECT_EQ(cell->viewWithTag(StoryCell::kTitleTag)->frame(), Rect(5, 5, 300, 24)) << r;
    // Summary below the one-line title, down to 97.
    EXPECT_EQ(cell->viewWithTag(StoryCell::kSummaryTag)->frame(), Rect(5, 29, 300, 68)) << r;
  }
  // The picture that does not decode is not asked for again.
  table->reloadData();
  settle(0.2);
  EXPECT_EQ(site_.hits("/bad/c.png"), 1);

  // A reused cell of a story without picture shows none, not the earlier row's.
  auto reused = std::make_shared<StoryCell>();
  Item first, second;
  first.imgLink = site_.url("/thumb/a b.png");
  reused->fill(first, home.thumbnails(), false);
  reused->fill(second, home.thumbnails(), false);
  EXPECT_EQ(static_cast<ui::ImageView*>(reused->viewWithTag(StoryCell::kThumbnailTag))->image(),
            nullptr);
}

TEST_F(HomeScreenTest, RowTapOpensTheStoryAndLandscapeRowsAreWider) {
  Utilities().setStyleView("list");
  site_.setFeed(rssFeed(4));
  ProbeScreens probes;
  MainViewController& home = launch();
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  settle();
  ASSERT_NE(home.tableView(), nullptr);
  EXPECT_EQ(home.tableView()->frame(), Rect(0, 44, 480, 256));
  auto cell = home.cellForRowAtIndexPath(*home.tableView(), {0, 1});
  EXPECT_EQ(cell->viewWithTag(StoryCell::kTitleTag)->frame().width(), 460);
  EXPECT_TRUE(home.tableView()->tapRowAtIndexPath({0, 2}));
  settle();
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].index, 2);
  EXPECT_EQ(probes.opened[0].landscape, "YES");
  EXPECT_FALSE(home.tableView()->indexPathForSelectedRow());
}

TEST_F(HomeScreenTest, EmptyFeedShowsTheAlertAndKeepsThePreviousView) {
  for (const char* style : {"grid", "list"}) {
    SCOPED_TRACE(style);
    Utilities().setStyleView(style);
    site_.setFeed(rssFeed(3));
    ProbeScreens probes;
    VemoAppDelegate delegate;
    ui::Application::shared().reset();
    ui::Application::shared().setDelegate(&delegate);
    ui::Application::shared().launch();
    settle();
    auto& home =
        *static_cast<MainViewController*>(delegate.viewController()->viewControllers()[0].get());
    ui::View* before = storyView(home);
    ASSERT_NE(before, nullptr);

    site_.setFeed("");
    base::NotificationCenter::defaultCenter().post("reload");
    settle();
    auto* alert = ui::AlertStack::shared().topAs<ui::AlertView>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Thông Báo");
    EXPECT_EQ(alert->message(),
              "Dữ liệu đang cập nhật hoặc kết nối bị gián đoạn. Quý khách vui lòng thử lại sau!");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Đồng ý");
    EXPECT_EQ(alert->numberOfButtons(), 1);
    EXPECT_EQ(storyView(home), before);
    EXPECT_TRUE(home.stories().empty());

    // The view kept on screen still opens its own stories.
    if (std::string(style) == "grid") {
      static_cast<ui::Button*>(before->subviews()[2].get())->sendActionsForTouchUpInside();
    } else {
      home.tableView()->tapRowAtIndexPath({0, 2});
    }
    settle();
    ASSERT_EQ(probes.opened.size(), 1u);
    EXPECT_EQ(probes.opened[0].items.size(), 3u);
    EXPECT_EQ(probes.opened[0].index, 2);
    ui::AlertStack::shared().reset();
    ui::Application::shared().reset();
  }
}

TEST_F(HomeScreenTest, MenuButtonOpensTheCategoriesOrSaysTheNetworkFailed) {
  site_.setFeed(rssFeed(2));
  ProbeScreens probes;
  MainViewController& home = launch();
  base::LogCapture log;

  site_.setMenu("");
  buttonShowing(home, "menu_home.png")->sendActionsForTouchUpInside();
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  settle();
  auto* alert = ui::AlertStack::shared().topAs<ui::AlertView>();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->message(),
            "Dữ liệu không thể tải về máy. Lỗi không thể kết nối mạng, Hãy chỉnh lại Cài Đặt máy");
  EXPECT_EQ(navigation().viewControllers().size(), 1u);
  EXPECT_TRUE(log.contains("COUNT = 0"));
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  ui::AlertStack::shared().reset();

  site_.setMenu(
      "<services><service name=\"A\" link=\"x\"/><service name=\"B\" link=\"y\">"
      "<subService name=\"B1\" link=\"z\"/></service></services>");
  buttonShowing(home, "menu_home.png")->sendActionsForTouchUpInside();
  settle();
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].kind, "services");
  EXPECT_EQ(probes.opened[0].services, 2u);
  EXPECT_EQ(probes.opened[0].landscape, "NO");
}

// A download returns at once and goes on while the loop runs: the frame is up before the feed,
// the indicator shows, and taps made meanwhile are dropped rather than acted on afterwards.
TEST_F(HomeScreenTest, DownloadsRunBesideTheLoopAndDropTapsMadeMeanwhile) {
  ProbeScreens probes;
  site_.setFeed(rssFeed(2));
  ui::Application::shared().setDelegate(&delegate_);
  ui::Application::shared().launch();
  auto& home =
      static_cast<MainViewController&>(*delegate_.viewController()->viewControllers().front());
  // (The indicator goes off on the worker as its download ends, so it is checked at rest only.)
  auto busyNow = [] {
    return std::vector<bool>{FeedDownload::busy(),
                             ui::Application::shared().isIgnoringInteractionEvents()};
  };
  const std::vector<bool> busy{true, true}, idle{false, false};
  EXPECT_EQ(busyNow(), busy);
  EXPECT_NE(buttonShowing(home, "menu_home.png"), nullptr) << "the frame is up";
  EXPECT_EQ(storyView(home), nullptr);
  EXPECT_TRUE(ui::AlertStack::shared().empty()) << "no empty-feed alert before the feed is in";
  settle();
  EXPECT_EQ(busyNow(), idle);
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  EXPECT_EQ(site_.hits("/Home.rss"), 2);
  ASSERT_NE(storyView(home), nullptr);

  buttonShowing(home, "web_refresh.png")->sendActionsForTouchUpInside();
  EXPECT_EQ(busyNow(), busy);
  ui::View& window = *delegate_.window();
  ui::View& tile = *storyView(home)->subviews()[0];
  EXPECT_FALSE(ui::tap(window, tile.convertPointToView(tile.bounds().center(), nullptr)));
  settle();
  EXPECT_EQ(busyNow(), idle);
  EXPECT_EQ(site_.hits("/Home.rss"), 3);
  EXPECT_TRUE(probes.opened.empty()) << "a tap made during the download was replayed";
}

TEST_F(HomeScreenTest, UnknownStyleBuildsNothingUntilTheStyleButton) {
  Utilities().setStyleView("mosaic");
  site_.setFeed(rssFeed(2));
  MainViewController& home = launch();
  EXPECT_EQ(storyView(home), nullptr);
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  home.styleButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(Utilities().getStyleView(), "grid");
  ASSERT_NE(storyView(home), nullptr);
  EXPECT_EQ(storyView(home)->subviews().size(), 2u);
}

TEST_F(HomeScreenTest, LandscapeNotificationWithAnotherObjectChangesNothing) {
  site_.setFeed(rssFeed(2));
  MainViewController& home = launch();
  auto& center = base::NotificationCenter::defaultCenter();
  center.post("landscape", std::string("YES"));
  EXPECT_TRUE(home.landscape());
  center.post("landscape", std::string("MAYBE"));
  center.post("landscape", 1);
  center.post("landscape");
  EXPECT_TRUE(home.landscape());
  center.post("landscape", std::string("NO"));
  EXPECT_FALSE(home.landscape());
}

TEST_F(HomeScreenTest, SavedStoriesAndToolsButtons) {
  site_.setFeed(rssFeed(2));
  ProbeScreens probes;
  MainViewController& home = launch();
  buttonShowing(home, "fav_saved.png")->sendActionsForTouchUpInside();
  auto* alert = ui::AlertStack::shared().topAs<ui::AlertView>();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->message(), "Chưa có mục tin nào được lưu trữ!");
  EXPECT_EQ(navigation().viewControllers().size(), 1u);
  ui::AlertStack::shared().reset();

  auto saved = std::make_shared<Item>();
  saved->link = "http://example.com/a";
  Utilities().setBookmarkItem({saved});
  buttonShowing(home, "fav_saved.png")->sendActionsForTouchUpInside();
  settle();
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].kind, "bookmarks");
  EXPECT_EQ(probes.opened[0].items.size(), 1u);
  navigation().popViewController(false);
  settle();

  buttonShowing(home, "tools.png")->sendActionsForTouchUpInside();
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  settle();
  ASSERT_EQ(probes.opened.size(), 2u);
  EXPECT_EQ(probes.opened[1].kind, "detail");
  ASSERT_EQ(probes.opened[1].items.size(), 1u);
  EXPECT_EQ(probes.opened[1].items[0]->link, site_.url("/mobi/tools.php"));
  EXPECT_FALSE(probes.opened[1].items[0]->title.has_value());
  EXPECT_EQ(probes.opened[1].index, 0);
}
