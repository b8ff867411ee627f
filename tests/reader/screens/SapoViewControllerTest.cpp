#include "reader/screens/SapoViewController.h"

#include <functional>

#include "ads/AdBannerView.h"
#include "platform/graphics/PangoTextMeasurer.h"
#include "reader/model/ColorText.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

using graphics::Rect;
using graphics::Size;
using namespace screen_testing;
using testing_support::stories;
using testing_support::story;

namespace {

std::vector<std::string> links(const std::vector<ItemPtr>& items) {
  std::vector<std::string> result;
  for (const auto& item : items) result.push_back(item->link.value_or("?"));
  return result;
}

ui::View& page(SapoViewController& screen, size_t i) {
  return *screen.pager()->subviews().at(i);
}
ui::Label& pageLabel(SapoViewController& screen, size_t i, size_t subview) {
  return dynamic_cast<ui::Label&>(*page(screen, i).subviews().at(subview));
}
ui::ImageView& pagePicture(SapoViewController& screen, size_t i) {
  return dynamic_cast<ui::ImageView&>(*page(screen, i).subviews().back());
}

// Fixed metrics: headline lines 32 points high, date lines 15 (12 points) or 17 (14 points),
// summary lines 24; a headline character is 13 points wide, a summary one 10.
class SapoTest : public ReaderTest {
 protected:
  SapoViewController& open(std::vector<ItemPtr> list, int index,
                           const std::string& landscape = "NO", bool settle = true) {
    auto screen = std::make_shared<SapoViewController>(std::move(list), index, landscape);
    run_->navigation().pushViewController(screen, true);
    if (settle) run_->settle();
    return *screen;
  }
  // Runs the main loop until the picture fetched on a worker was stored.
  static void waitForPicture(SapoViewController& screen, const std::string& link) {
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition(
        [&] { return screen.pictures().imageFor(link) != nullptr; }));
    ReaderRun::settle(0.1);
  }
  static void rotate(ui::InterfaceOrientation orientation) {
    ui::Application::shared().rotate(orientation);
    ReaderRun::settle();
  }
};

}  // namespace

TEST_F(SapoTest, OpensAtTheGivenStoryWithTheEndButtonsDisabled) {
  struct Case {
    int count, index;
    bool previous, next;
  };
  for (Case c : {Case{5, 2, true, true}, Case{5, 0, false, true}, Case{5, 4, true, false},
                 Case{1, 0, false, false}}) {
    SCOPED_TRACE(testing::Message() << c.index << " of " << c.count);
    SapoViewController& screen = open(stories(c.count), c.index);
    ui::ScrollView* pager = screen.pager();
    ASSERT_NE(pager, nullptr);
    EXPECT_EQ(pager->tag(), 9999);
    EXPECT_EQ(countTagged(screen, 9999), 1);
    EXPECT_EQ(pager->frame(), Rect(0, 44, 320, 372));
    EXPECT_EQ(pager->contentSize(), Size(320.0 * c.count, 372));
    EXPECT_EQ(pager->contentOffset().x, 320.0 * c.index);
    EXPECT_TRUE(pager->isPagingEnabled());
    EXPECT_FALSE(pager->showsHorizontalScrollIndicator());
    ASSERT_EQ(pager->subviews().size(), static_cast<size_t>(c.count));
    EXPECT_EQ(page(screen, c.count - 1).frame(), Rect(320.0 * (c.count - 1), 0, 320, 372));
    EXPECT_EQ(screen.previousButton()->isEnabled(), c.previous);
    EXPECT_EQ(screen.nextButton()->isEnabled(), c.next);
    pop();
  }
}

TEST_F(SapoTest, FrameCounterAndPortraitPageWithoutPicture) {
  base::LogCapture log;
  auto list = stories(5);
  list[1]->imgLink = site_.url("/bad/1.gif");
  SapoViewController& screen = open(list, 0);
  EXPECT_TRUE(log.contains("INDEX = 0"));
  // Headline, headline button, date, summary, counter and an empty picture view tagged with
  // the page's index.
  EXPECT_TRUE(looksLike(*screen.view(), "lead-portrait", 1));
  EXPECT_TRUE(looksLike(page(screen, 0), "lead-page-plain"));
  EXPECT_EQ(pageLabel(screen, 4, 4).text().substr(0, 5), "05/05");
  EXPECT_EQ(pagePicture(screen, 3).tag(), 3);

  // The headline opens the article reader on the story.
  dynamic_cast<ui::Button&>(*page(screen, 0).subviews()[1]).sendActionsForTouchUpInside();
  ReaderRun::settle();
  auto* detail = dynamic_cast<DetailViewController*>(run_->top());
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->savedStories(), screen.savedStories());

  // A picture that is no picture: the placeholder stays and the link is not tried again.
  pop();
  screen.nextButtonPush();
  // (That a failure keeps the address from being fetched again is the cache's own test.)
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return site_.hits("/bad/1.gif"); }));
  EXPECT_EQ(imageName(pagePicture(screen, 1).image()), "icon_default.png");
  screen.preButtonPush();
  screen.nextButtonPush();
  ReaderRun::settle();
  EXPECT_EQ(site_.hits("/bad/1.gif"), 1);
}

TEST_F(SapoTest, PagingByButtonsAndBySwipe) {
  base::LogCapture log;
  SapoViewController& screen = open(stories(4), 1);
  screen.nextButton()->sendActionsForTouchUpInside();
  ReaderRun::settle();
  EXPECT_EQ(screen.itemIndex(), 2);
  EXPECT_EQ(screen.pager()->contentOffset().x, 640);
  EXPECT_TRUE(log.contains("INDEX = 2"));
  screen.nextButton()->sendActionsForTouchUpInside();
  ReaderRun::settle();
  EXPECT_EQ(screen.itemIndex(), 3);
  EXPECT_FALSE(screen.nextButton()->isEnabled());
  // Past the end nothing moves.
  screen.nextButtonPush();
  EXPECT_EQ(screen.itemIndex(), 3);

  ui::ScrollView* pager = screen.pager();
  pager->beginDrag();
  pager->dragBy(200, 0);
  pager->endDrag({600, 0});
  ReaderRun::settle();
  EXPECT_EQ(screen.itemIndex(), 2);
  EXPECT_TRUE(screen.nextButton()->isEnabled());
  EXPECT_TRUE(log.contains("INDEX = 2"));
}

TEST_F(SapoTest, SavingAppendsAndUnsavingRemovesTheFirstEntryWithTheLink) {
  Utilities settings;
  auto other = story(9);
  auto first = story(1);
  auto second = story(1);
  second->title = "Bản sau";
  settings.setBookmarkItem({first, other, second});

  SapoViewController& screen = open(stories(3), 1);
  EXPECT_EQ(imageName(screen.bookmarkButton()->image(ui::ControlState::Normal)),
            "fav_activated.png");
  screen.bookmarkButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(imageName(screen.bookmarkButton()->image(ui::ControlState::Normal)),
            "fav_activated.png");  // the later copy is still saved
  auto stored = settings.getBookmarkItem();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(links(stored),
            (std::vector<std::string>{"http://example.com/9", "http://example.com/1"}));
  EXPECT_EQ(stored[1]->title, "Bản sau");
  screen.bookmarkButtonPush();
  EXPECT_EQ(imageName(screen.bookmarkButton()->image(ui::ControlState::Normal)), "fav_default.png");
  EXPECT_EQ(links(settings.getBookmarkItem()), std::vector<std::string>{"http://example.com/9"});

  screen.nextButtonPush();
  EXPECT_EQ(imageName(screen.bookmarkButton()->image(ui::ControlState::Normal)), "fav_default.png");
  screen.bookmarkButtonPush();
  EXPECT_EQ(imageName(screen.bookmarkButton()->image(ui::ControlState::Normal)),
            "fav_activated.png");
  EXPECT_EQ(links(settings.getBookmarkItem()),
            (std::vector<std::string>{"http://example.com/9", "http://example.com/2"}));
}

TEST_F(SapoTest, SavedInTheArticleReaderShowsOnReturn) {
  SapoViewController& screen = open(stories(3), 2);
  screen.detailButton()->sendActionsForTouchUpInside();
  ReaderRun::settle();
  auto* detail = dynamic_cast<DetailViewController*>(run_->top());
  ASSERT_NE(detail, nullptr);
  auto& engine = dynamic_cast<ui::HeadlessWebEngine&>(detail->webView()->engine());
  engine.finishLoad("Tin 2");
  detail->bookmarkButtonPush();
  detail->backButtonPush();
  ReaderRun::settle();
  EXPECT_EQ(run_->top(), &screen);
  EXPECT_EQ(screen.savedStories()->size(), 1u);
  EXPECT_EQ(imageName(screen.bookmarkButton()->image(ui::ControlState::Normal)),
            "fav_activated.png");
}

TEST_F(SapoTest, PictureArrivingOnAnotherPageKeepsTheCurrentPage) {
  auto list = stories(3);
  list[0]->imgLink = site_.url("/thumb/a b.png");
  SapoViewController& screen = open(list, 0, "NO", false);
  screen.nextButtonPush();
  ui::ScrollView* before = screen.pager();
  waitForPicture(screen, *list[0]->imgLink);

  // Fetched with "%20" for the blank, cached under the link as the feed gave it.
  EXPECT_EQ(site_.hits("/thumb/a%20b.png"), 1);
  EXPECT_NE(screen.pictures().imageFor(*list[0]->imgLink), nullptr);
  EXPECT_NE(screen.pager(), before);  // rebuilt
  EXPECT_EQ(countTagged(screen, 9999), 1);
  EXPECT_EQ(countTagged(screen, 1111), 1);
  EXPECT_EQ(screen.itemIndex(), 1);
  EXPECT_EQ(screen.pager()->contentOffset().x, 320);
  EXPECT_NE(pagePicture(screen, 0).image(), nullptr);
  EXPECT_EQ(screen.banner()->requestCount(), 1);
}

TEST_F(SapoTest, PictureLayoutsInBothOrientations) {
  auto list = stories(2);
  list[0]->imgLink = site_.url("/thumb/0.png");
  list[0]->description = std::string(400, 'x');
  SapoViewController& screen = open(list, 0);
  waitForPicture(screen, *list[0]->imgLink);

  // Headline beside the framed picture; the summary gets what is left above the counter. The
  // other page keeps the plain layout.
  EXPECT_TRUE(looksLike(page(screen, 0), "lead-page-picture-portrait"));
  EXPECT_EQ(pageLabel(screen, 1, 0).frame(), Rect(10, 10, 300, 32));

  rotate(ui::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(screen.pager()->frame(), Rect(0, 44, 480, 212));
  EXPECT_TRUE(looksLike(page(screen, 0), "lead-page-picture-landscape"));
  EXPECT_EQ(pageLabel(screen, 1, 4).frame(), Rect(10, 185, 460, 30));
}

TEST_F(SapoTest, BannerOnlyInPortraitAndNeverRequestedTwice) {
  SapoViewController& screen = open(stories(3), 1);
  AdBannerView* banner = screen.banner();
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->tag(), 1111);
  EXPECT_EQ(banner->frame(), Rect(0, 370, 320, 50));
  EXPECT_EQ(banner->superview(), screen.view().get());
  EXPECT_EQ(banner->rootViewController(), &screen);
  EXPECT_TRUE(AdBannerView::isValidPublisherId(banner->adUnitID()));
  EXPECT_EQ(banner->requestCount(), 1);

  rotate(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_TRUE(screen.landscape());
  EXPECT_EQ(banner->superview(), nullptr);
  EXPECT_TRUE(looksLike(*screen.view(), "lead-landscape", 1));

  rotate(ui::InterfaceOrientation::Portrait);
  EXPECT_EQ(screen.banner(), banner);
  EXPECT_EQ(banner->superview(), screen.view().get());
  EXPECT_EQ(banner->requestCount(), 1);
  EXPECT_TRUE(looksLike(*screen.view(), "lead-portrait-again", 1));
}

TEST_F(SapoTest, RealTextMeasurementStacksThePage) {
  env_.useMeasurer(std::make_shared<graphics::PangoTextMeasurer>());
  auto list = stories(1);
  list[0]->title = "Quốc hội thông qua kế hoạch phát triển kinh tế xã hội năm 2012";
  SapoViewController& screen = open(list, 0);
  Rect headline = pageLabel(screen, 0, 0).frame();
  Rect date = pageLabel(screen, 0, 2).frame();
  Rect summary = pageLabel(screen, 0, 3).frame();
  EXPECT_GT(headline.height(), 40);  // two lines or more at 26 points in 300
  EXPECT_LE(headline.height(), 100);
  EXPECT_EQ(date.y(), 10 + headline.height());
  EXPECT_GT(date.height(), 0);
  EXPECT_EQ(summary.y(), date.y() + date.height());
  EXPECT_GT(summary.height(), 0);
}

namespace {
std::string toggleImage(SapoViewController& screen) {
  return imageName(screen.bookmarkButton()->image(ui::ControlState::Normal));
}
}  // namespace

TEST_F(SapoTest, ChangesMadeBehindTheReaderAreKeptByItsNextSave) {
  // Stories 0 and 1 are saved; the reader opens at 0, the saved stories (rows newest first:
  // 1, 0) are changed, the reader comes back and saves story 2.
  struct Case {
    const char* name;
    std::function<void(BookmarkListViewController&, ReaderRun&)> change;
    bool firstStillSaved;
    std::vector<int> stored;
  };
  const Case cases[] = {
      {"delete 0",
       [](BookmarkListViewController& saved, ReaderRun&) {
         saved.commitEditingStyle(*saved.tableView(), ui::TableViewCellEditingStyle::Delete,
                                  {0, 1});
       },
       false,
       {1, 2}},
      {"move 0 to the top",
       [](BookmarkListViewController& saved, ReaderRun&) {
         saved.moveRowAtIndexPath(*saved.tableView(), {0, 1}, {0, 0});
       },
       true,
       {1, 0, 2}},
      {"save a linked page in an article opened from the list",
       [](BookmarkListViewController& saved, ReaderRun& run) {
         saved.tableView()->tapRowAtIndexPath({0, 0});
         ReaderRun::settle();
         auto* detail = dynamic_cast<DetailViewController*>(run.top());
         ASSERT_NE(detail, nullptr);
         auto& engine = dynamic_cast<ui::HeadlessWebEngine&>(detail->webView()->engine());
         engine.finishLoad("Tin 1");
         engine.clickLink("http://example.com/7");
         engine.finishLoad("Tin 7");
         detail->bookmarkButtonPush();
         detail->backButtonPush();
         ReaderRun::settle();
       },
       true,
       {0, 1, 7, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Utilities settings;
    settings.setBookmarkItem({story(0), story(1)});
    SapoViewController& screen = open(stories(3), 0);
    EXPECT_EQ(toggleImage(screen), "fav_activated.png");
    buttonShowing(screen, "fav_saved.png")->sendActionsForTouchUpInside();
    ReaderRun::settle();
    auto* saved = dynamic_cast<BookmarkListViewController*>(run_->top());
    ASSERT_NE(saved, nullptr);
    c.change(*saved, *run_);
    saved->backButtonPush();
    ReaderRun::settle();
    ASSERT_EQ(run_->top(), &screen);
    EXPECT_EQ(toggleImage(screen), c.firstStillSaved ? "fav_activated.png" : "fav_default.png");

    screen.nextButtonPush();
    screen.nextButtonPush();
    screen.bookmarkButtonPush();
    std::vector<std::string> expected;
    for (int i : c.stored) expected.push_back("http://example.com/" + std::to_string(i));
    EXPECT_EQ(links(settings.getBookmarkItem()), expected);
    pop();
  }
}

TEST_F(SapoTest, RawAndEscapedFormsOfALinkAreTheSameSavedStory) {
  // The feed's raw link, and the address the article reader saved for it.
  auto raw = story(1), escaped = story(1);
  raw->link = "http://example.com/tin tức 1";
  escaped->link = "http://example.com/tin%20t%E1%BB%A9c%201";
  Utilities settings;
  settings.setBookmarkItem({story(9), escaped, raw});
  SapoViewController& screen = open({raw}, 0);
  // Both stored forms stay rows of their own.
  buttonShowing(screen, "fav_saved.png")->sendActionsForTouchUpInside();
  ReaderRun::settle();
  auto* saved = dynamic_cast<BookmarkListViewController*>(run_->top());
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(saved->tableView()->numberOfRowsInSection(0), 3);
  saved->backButtonPush();
  ReaderRun::settle();
  // The toggle finds either form; each press removes one of them.
  for (size_t left : {2u, 1u}) {
    EXPECT_EQ(toggleImage(screen), "fav_activated.png");
    screen.bookmarkButtonPush();
    EXPECT_EQ(settings.getBookmarkItem().size(), left);
  }
  EXPECT_EQ(toggleImage(screen), "fav_default.png");
  EXPECT_EQ(links(settings.getBookmarkItem()), std::vector<std::string>{"http://example.com/9"});
}

TEST(SavedStoryLinkTest, LinksAreComparedInOneForm) {
  struct Case {
    std::optional<std::string> a, b;
    bool same;
  };
  const Case cases[] = {
      {"http://vemo.vn/tin tức.html", "http://vemo.vn/tin%20t%E1%BB%A9c.html", true},
      {"http://vemo.vn/a%e1%bb%a9", "http://vemo.vn/a%E1%BB%A9", true},
      {"HTTP://Vemo.VN:8080/a", "http://vemo.vn:8080/a", true},
      {"http://vemo.vn/%", "http://vemo.vn/%25", true},
      {"", "", true},
      // Paths and users keep their case; an escaped "/" is not a "/".
      {"http://vemo.vn/A", "http://vemo.vn/a", false},
      {"http://User@vemo.vn/", "http://user@vemo.vn/", false},
      {"http://vemo.vn/a%2Fb", "http://vemo.vn/a/b", false},
      {"http://vemo.vn/a", std::nullopt, false},
      {std::nullopt, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a.value_or("(none)") + " | " + c.b.value_or("(none)"));
    EXPECT_EQ(SavedStoryList::sameLink(c.a, c.b), c.same);
    EXPECT_EQ(SavedStoryList::sameLink(c.b, c.a), c.same);
  }
}
