#include "reader/screens/MainViewController.h"

#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "reader/screens/FeedDownload.h"
#include "tests/reader/screens/ScreenTestSupport.h"
#include "tests/support/ViewTreeText.h"

using namespace screen_testing;
using testing_support::ViewTreeText;

namespace {

// Each test launches the reader itself, after choosing the feed and the stand-in screens.
class HomeScreenTest : public ReaderTest {
 protected:
  void SetUp() override {}
  static ui::Button* tile(MainViewController& home, size_t i) {
    return static_cast<ui::Button*>(storyView(home)->subviews().at(i).get());
  }
  ProbeScreens probes_;
};

}  // namespace

TEST_F(HomeScreenTest, LaunchRotationAndReturnLayOutTheGridAndHeaderButtonsOpenTheirScreens) {
  MainViewController& home = launch(rssFeed(7));
  EXPECT_TRUE(looksLike(*home.view(), "home-portrait"));
  // A tile opens the lead reader on its story, with every story, after a short deferral.
  tile(home, 3)->sendActionsForTouchUpInside();
  EXPECT_TRUE(indicator());
  settle(0.19);
  EXPECT_EQ(probes_.log(), "");
  settle();
  EXPECT_EQ(probes_.log(), "sapo 3/7 NO");
  pop();

  rotate(ui::InterfaceOrientation::LandscapeLeft);
  EXPECT_TRUE(looksLike(*home.view(), "home-landscape"));
  // A screen pushed in landscape gets "YES"; turning there reaches the home screen below it,
  // which lays itself out for portrait on return.
  press(tile(home, 0));
  EXPECT_EQ(probes_.log(), "sapo 3/7 NO; sapo 0/7 YES");
  rotate(ui::InterfaceOrientation::Portrait);
  navigation().popViewController(true);
  settle();
  EXPECT_TRUE(looksLike(*home.view(), "home-portrait"));

  // Launch and each activation fetch the feed.
  ui::Application::shared().resignActive();
  ui::Application::shared().becomeActive();
  settle();
  EXPECT_EQ(site_.hits("/Home.rss"), 3);

  // With nothing saved the saved-stories button says so (the saved stories' tests open them with
  // it); the tools button opens the tools page in the article reader, without a title.
  buttonShowing(home, "fav_saved.png")->sendActionsForTouchUpInside();
  EXPECT_EQ(alertMessage(), ReaderScreen::kNothingSavedMessage);
  buttonShowing(home, "tools.png")->sendActionsForTouchUpInside();
  EXPECT_TRUE(indicator());
  settle();
  ASSERT_EQ(probes_.log(), "sapo 3/7 NO; sapo 0/7 YES; detail 0/1 NO");
  EXPECT_EQ(probes_.opened[2].items[0]->link, site_.url("/mobi/tools.php"));
  EXPECT_FALSE(probes_.opened[2].items[0]->title.has_value());
}

TEST_F(HomeScreenTest, RebuiltGridShowsTheSameTilesFromTheTopAndNewStoriesAfterARefresh) {
  MainViewController& home = launch(rssFeed(8));
  auto* grid = static_cast<ui::ScrollView*>(storyView(home));
  const std::string layout = ViewTreeText::dump(*grid);
  grid->setContentOffset({0, 200});
  home.checkTheStyleView();
  EXPECT_EQ(ViewTreeText::dump(*storyView(home)), layout);
  EXPECT_EQ(home.view()->subviews().back().get(), storyView(home));

  site_.setFeed(rssFeed(2));
  home.refreshButtonPush();
  settle();
  EXPECT_TRUE(looksLike(*storyView(home), "home-refreshed", 2));
}

// A long grid builds the tiles within a screen's height of what is shown and the others as the
// user scrolls, keeping them in story order; the scroll extent covers every story.
TEST_F(HomeScreenTest, LongGridBuildsTilesAsTheyComeNearTheVisibleArea) {
  auto* grid = static_cast<ui::ScrollView*>(storyView(launch(rssFeed(60))));
  EXPECT_EQ(grid->subviews().size(), 12u);
  grid->setContentOffset({0, 3000});
  grid->beginDrag();
  grid->dragBy(0, 1600);
  grid->endDrag();
  settle();
  EXPECT_TRUE(looksLike(*grid, "home-grid-scrolled", 1));
  press(static_cast<ui::Button*>(grid->viewWithTag(40)));
  EXPECT_EQ(probes_.log(), "sapo 40/60 NO");
}

// An unknown stored style builds nothing (and says nothing) until the style button.
TEST_F(HomeScreenTest, StyleButtonStoresTheChoiceAndReplacesTheStoryView) {
  Utilities().setStyleView("mosaic");
  MainViewController& home = launch(rssFeed(3));
  EXPECT_EQ(storyView(home), nullptr);
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  for (auto [style, view, image] : {std::tuple{"grid", "ScrollView", "post_list.png"},
                                    std::tuple{"list", "TableView", "post_box.png"},
                                    std::tuple{"grid", "ScrollView", "post_list.png"}}) {
    home.styleButton()->sendActionsForTouchUpInside();
    EXPECT_EQ(Utilities().getStyleView(), style);
    EXPECT_EQ(countTagged(home, 999), 1);
    EXPECT_EQ(storyView(home)->className(), view);
    EXPECT_EQ(shownImage(home.styleButton()), image);
  }
}

TEST_F(HomeScreenTest, ListRowsShowThumbnailsOnceTheyArriveAndWidenInLandscape) {
  Utilities().setStyleView("list");
  const std::string picture = site_.url("/thumb/a b.png");
  MainViewController& home = launch(rssFeed(4, {picture, "", site_.url("/bad/c.png"), picture}));
  ui::TableView* table = home.tableView();
  // Laying the rows out starts the fetches (the undecodable one on real time); wait for both.
  table->visibleCells();
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] {
    return home.thumbnails().imageFor(picture) != nullptr && site_.hits("/bad/c.png") >= 1;
  }));
  settle(0.1);
  // The arrival reloaded the table: rows with the picture move their text to x 90; no picture
  // link gives an empty thumbnail, a failed picture the placeholder.
  table->layoutIfNeeded();
  EXPECT_TRUE(looksLike(*table, "home-list-thumbnails"));

  // A reused cell of a story without picture shows none, not the earlier row's.
  StoryCell reused;
  Item first;
  first.imgLink = picture;
  reused.fill(first, home.thumbnails(), false);
  reused.fill(Item(), home.thumbnails(), false);
  EXPECT_EQ(static_cast<ui::ImageView*>(reused.viewWithTag(StoryCell::kThumbnailTag))->image(),
            nullptr);

  // Landscape rows are wider; a tapped row is not left selected.
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  table = home.tableView();
  table->layoutIfNeeded();
  EXPECT_TRUE(looksLike(*table, "home-list-landscape", 3));
  EXPECT_TRUE(table->tapRowAtIndexPath({0, 2}));
  EXPECT_FALSE(table->indexPathForSelectedRow());
}

// The view kept on screen still opens its own stories, from a row as from a tile.
TEST_F(HomeScreenTest, EmptyFeedShowsTheAlertAndKeepsThePreviousView) {
  for (const char* style : {"grid", "list"}) {
    SCOPED_TRACE(style);
    end();  // which empties the screen hooks
    Utilities().setStyleView(style);
    ProbeScreens probes;
    MainViewController& home = launch(rssFeed(3));
    ui::View* before = storyView(home);
    site_.setFeed("");
    base::NotificationCenter::defaultCenter().post("reload");
    settle();
    EXPECT_EQ(alertMessage(), ReaderScreen::kUpdatingMessage);
    EXPECT_EQ(storyView(home), before);
    std::string(style) == "list" ? void(home.tableView()->tapRowAtIndexPath({0, 2}))
                                 : tile(home, 2)->sendActionsForTouchUpInside();
    settle();
    EXPECT_EQ(probes.log(), "sapo 2/3 NO");
  }
}

// A download returns at once and goes on while the loop runs: the frame is up before the feed,
// and taps made meanwhile are dropped rather than acted on afterwards.
TEST_F(HomeScreenTest, DownloadsRunBesideTheLoopAndDropTapsMadeMeanwhile) {
  MainViewController& home = launch(rssFeed(2), false);
  auto busy = [](bool expected) {
    EXPECT_EQ(FeedDownload::busy(), expected);
    EXPECT_EQ(ui::Application::shared().isIgnoringInteractionEvents(), expected);
  };
  busy(true);
  EXPECT_NE(buttonShowing(home, "menu_home.png"), nullptr) << "the frame is up";
  EXPECT_TRUE(ui::AlertStack::shared().empty()) << "no empty-feed alert before the feed is in";
  settle();
  busy(false);

  buttonShowing(home, "web_refresh.png")->sendActionsForTouchUpInside();
  busy(true);
  ui::View& tile = *storyView(home)->subviews()[0];
  EXPECT_FALSE(
      ui::tap(*delegate_->window(), tile.convertPointToView(tile.bounds().center(), nullptr)));
  settle();
  busy(false);
  EXPECT_EQ(site_.hits("/Home.rss"), 3);
  EXPECT_EQ(probes_.log(), "") << "a tap made during the download was replayed";
}
