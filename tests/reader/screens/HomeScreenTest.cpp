#include "reader/screens/MainViewController.h"

#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "reader/screens/FeedDownload.h"
#include "reader/screens/ScreenFactory.h"
#include "reader/screens/VemoAppDelegate.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

using graphics::Rect;
using graphics::Size;
using namespace screen_testing;
using testing_support::ViewTreeText;

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

TEST_F(HomeScreenTest, LaunchRotationAndReturnLayOutTheGridAndHeader) {
  site_.setFeed(rssFeed(7));
  ProbeScreens probes;
  base::LogCapture log;
  MainViewController& home = launch();
  EXPECT_EQ(site_.hits("/Home.rss"), 2);
  EXPECT_TRUE(log.contains("MainviewController"));
  EXPECT_TRUE(log.contains("did become active"));
  EXPECT_EQ(log.count("COUNT = 7"), 2u);
  EXPECT_TRUE(navigation().isNavigationBarHidden());
  EXPECT_TRUE(looksLike(*home.view(), "home-portrait"));

  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  settle();
  EXPECT_TRUE(home.landscape());
  EXPECT_TRUE(looksLike(*home.view(), "home-landscape"));

  // A screen pushed in landscape gets "YES"; turning there reaches the home screen below it,
  // which lays itself out for portrait on return.
  static_cast<ui::Button*>(storyView(home)->subviews()[0].get())->sendActionsForTouchUpInside();
  settle();
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].landscape, "YES");
  ui::Application::shared().rotate(ui::InterfaceOrientation::Portrait);
  settle();
  EXPECT_FALSE(probes.opened[0].screen->landscape());
  EXPECT_FALSE(home.landscape());
  navigation().popViewController(true);
  settle();
  EXPECT_TRUE(looksLike(*home.view(), "home-portrait"));

  // Activation fetches again.
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
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(navigation().viewControllers().size(), 2u);
  EXPECT_EQ(probes.opened[0].kind, "sapo");
  EXPECT_EQ(probes.opened[0].index, 3);
  EXPECT_EQ(probes.opened[0].items.size(), 7u);
  EXPECT_EQ(probes.opened[0].landscape, "NO");
}

TEST_F(HomeScreenTest, RebuiltGridShowsTheSameTilesFromTheTopAndNewStoriesAfterARefresh) {
  site_.setFeed(rssFeed(8));
  MainViewController& home = launch();
  auto* grid = static_cast<ui::ScrollView*>(storyView(home));
  const std::string layout = ViewTreeText::dump(*grid);
  grid->setContentOffset({0, 200});
  home.checkTheStyleView();
  EXPECT_EQ(ViewTreeText::dump(*storyView(home)), layout);
  EXPECT_EQ(home.view()->subviews().back().get(), storyView(home));

  site_.setFeed(rssFeed({{"Mới", ""}, {"Khác", ""}}));
  home.refreshButtonPush();
  settle();
  EXPECT_TRUE(looksLike(*storyView(home), "home-refreshed", 2));
}

// A long grid builds the tiles within a screen's height of what is shown and the others as the
// user scrolls, keeping them in story order; the scroll extent covers every story.
TEST_F(HomeScreenTest, LongGridBuildsTilesAsTheyComeNearTheVisibleArea) {
  site_.setFeed(rssFeed(60));
  ProbeScreens probes;
  MainViewController& home = launch();
  auto* grid = static_cast<ui::ScrollView*>(storyView(home));
  EXPECT_EQ(grid->contentSize(), Size(320, 4530));
  EXPECT_EQ(grid->subviews().size(), 12u);
  grid->setContentOffset({0, 3000});
  grid->beginDrag();
  grid->dragBy(0, 1600);
  grid->endDrag();
  settle();
  EXPECT_TRUE(looksLike(*grid, "home-grid-scrolled", 1));
  static_cast<ui::Button*>(grid->viewWithTag(40))->sendActionsForTouchUpInside();
  settle();
  ASSERT_EQ(probes.opened.size(), 1u);
  EXPECT_EQ(probes.opened[0].index, 40);
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

  // Laying the rows out starts the fetches (the undecodable one on real time); wait for both.
  EXPECT_EQ(table->visibleCells().size(), 4u);
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] {
    return home.thumbnails().imageFor(site_.url("/thumb/a b.png")) != nullptr &&
           site_.hits("/bad/c.png") >= 1;
  }));
  settle(0.1);
  EXPECT_EQ(site_.hits("/thumb/a%20b.png"), 1);
  // The arrival reloaded the table: rows with the picture move their text to x 90; no picture
  // link gives an empty thumbnail, a failed picture the placeholder.
  table->layoutIfNeeded();
  EXPECT_TRUE(looksLike(*table, "home-list-thumbnails"));
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
    EXPECT_EQ(alertMessage(),
              "Dữ liệu đang cập nhật hoặc kết nối bị gián đoạn. Quý khách vui lòng thử lại sau!");
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
  EXPECT_EQ(alertMessage(),
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

TEST_F(HomeScreenTest, SavedStoriesAndToolsButtons) {
  site_.setFeed(rssFeed(2));
  ProbeScreens probes;
  MainViewController& home = launch();
  buttonShowing(home, "fav_saved.png")->sendActionsForTouchUpInside();
  EXPECT_EQ(alertMessage(), "Chưa có mục tin nào được lưu trữ!");
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
