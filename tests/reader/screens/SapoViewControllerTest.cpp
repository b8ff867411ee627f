#include "reader/screens/SapoViewController.h"

#include "ads/AdBannerView.h"
#include "tests/reader/screens/ScreenTestSupport.h"

using graphics::Rect;
using namespace screen_testing;
using testing_support::stories;
using testing_support::story;

namespace {

ui::View& page(SapoViewController& screen, size_t i) {
  return *screen.pager()->subviews().at(i);
}

class SapoTest : public ReaderTest {
 protected:
  SapoViewController& open(std::vector<ItemPtr> list, int index) {
    return push<SapoViewController>(std::move(list), index, "NO");
  }
  static std::vector<std::string> stored() {
    std::vector<std::string> links;
    for (const auto& item : Utilities().getBookmarkItem()) links.push_back(*item->link);
    return links;
  }
};

}  // namespace

// The reader opens at the given story with the buttons that lead nowhere disabled (its first
// story: see the recorded screen); the buttons and a swipe page through the stories.
TEST_F(SapoTest, OpensAtTheGivenStoryAndPagesByButtonsAndBySwipe) {
  auto buttons = [](SapoViewController& screen) {
    return std::pair{screen.previousButton()->isEnabled(), screen.nextButton()->isEnabled()};
  };
  SapoViewController& single = open(stories(1), 0);
  EXPECT_EQ(buttons(single), std::pair(false, false));
  pop();
  SapoViewController& screen = open(stories(4), 2);
  EXPECT_EQ(screen.pager()->contentOffset().x, 640);
  EXPECT_EQ(buttons(screen), std::pair(true, true));
  press(screen.nextButton());
  EXPECT_EQ(screen.pager()->contentOffset().x, 960);
  EXPECT_EQ(buttons(screen), std::pair(true, false));
  screen.nextButtonPush();  // past the end nothing moves
  EXPECT_EQ(screen.itemIndex(), 3);

  screen.pager()->beginDrag();
  screen.pager()->dragBy(200, 0);
  screen.pager()->endDrag({600, 0});
  settle();
  EXPECT_EQ(screen.itemIndex(), 2);
  EXPECT_EQ(buttons(screen), std::pair(true, true));
}

TEST_F(SapoTest, SavingAppendsAndUnsavingRemovesTheFirstEntryWithTheLinkInEitherForm) {
  // The feed's raw link, and the address the article reader saved for it.
  auto raw = story(1), escaped = story(1);
  raw->link = "http://example.com/tin tức 1";
  escaped->link = "http://example.com/tin%20t%E1%BB%A9c%201";
  Utilities().setBookmarkItem({raw, story(9), escaped});
  SapoViewController& screen = open({story(0), raw, story(2)}, 1);
  EXPECT_EQ(shownImage(screen.bookmarkButton()), "fav_activated.png");
  screen.bookmarkButtonPush();
  EXPECT_EQ(shownImage(screen.bookmarkButton()), "fav_activated.png");  // the other copy
  EXPECT_EQ(stored(), (std::vector<std::string>{"http://example.com/9", *escaped->link}));
  screen.bookmarkButtonPush();
  EXPECT_EQ(shownImage(screen.bookmarkButton()), "fav_default.png");
  EXPECT_EQ(stored(), std::vector<std::string>{"http://example.com/9"});

  screen.nextButtonPush();
  screen.bookmarkButtonPush();
  EXPECT_EQ(stored(), (std::vector<std::string>{"http://example.com/9", "http://example.com/2"}));
}

// Pictures arriving while another page is shown: the rebuilt pager keeps that page, without a
// second banner; the picture's page puts the headline beside the framed picture and gives the
// summary what is left above the counter, a picture that is no picture shows the placeholder and
// the other pages keep the plain layout.
TEST_F(SapoTest, PicturesArrivingLayOutTheirPagesAndKeepThePageShown) {
  auto list = stories(3);
  list[0]->imgLink = site_.url("/thumb/a b.png");
  list[0]->description = std::string(400, 'x');
  list[1]->imgLink = site_.url("/bad/1.gif");
  auto screen = std::make_shared<SapoViewController>(list, 0, "NO");
  navigation().pushViewController(screen, true);
  AdBannerView* banner = screen->banner();
  screen->nextButtonPush();
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition(
      [&] { return screen->pictures().imageFor(*list[0]->imgLink) && site_.hits("/bad/1.gif"); }));
  settle();
  EXPECT_EQ(countTagged(*screen, 9999) + countTagged(*screen, 1111), 2);
  EXPECT_EQ(screen->pager()->contentOffset().x, 320);
  EXPECT_TRUE(looksLike(page(*screen, 0), "lead-page-picture-portrait"));
  auto& placeholder = dynamic_cast<ui::ImageView&>(*page(*screen, 1).subviews().back());
  EXPECT_EQ(imageName(placeholder.image()), "icon_default.png");
  EXPECT_TRUE(looksLike(page(*screen, 2), "lead-page-plain"));
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  EXPECT_TRUE(looksLike(page(*screen, 0), "lead-page-picture-landscape"));
  EXPECT_EQ(page(*screen, 2).subviews()[4]->frame(), Rect(10, 185, 460, 30));
  // The banner shows only in portrait and is never requested twice.
  EXPECT_TRUE(looksLike(*screen->view(), "lead-landscape", 1));
  rotate(ui::InterfaceOrientation::Portrait);
  EXPECT_EQ(screen->banner(), banner);
  EXPECT_EQ(banner->requestCount(), 1);
  EXPECT_TRUE(looksLike(*screen->view(), "lead-portrait-again", 1));
}

TEST_F(SapoTest, ChangesMadeBehindTheReaderAreKeptByItsNextSaveAndTheHeadlineOpensTheArticle) {
  Utilities().setBookmarkItem({story(0), story(1)});
  SapoViewController& screen = open(stories(3), 0);
  press(buttonShowing(screen, "fav_saved.png"));
  auto& saved = topAs<BookmarkListViewController>();
  saved.commitEditingStyle(*saved.tableView(), ui::TableViewCellEditingStyle::Delete, {0, 1});
  saved.backButtonPush();
  settle();
  EXPECT_EQ(shownImage(screen.bookmarkButton()), "fav_default.png");
  screen.nextButtonPush();
  screen.nextButtonPush();
  screen.bookmarkButtonPush();
  EXPECT_EQ(stored(), (std::vector<std::string>{"http://example.com/1", "http://example.com/2"}));
  press(dynamic_cast<ui::Button*>(page(screen, 2).subviews()[1].get()));
  EXPECT_EQ(engine(topAs<DetailViewController>()).startedRequests().at(0).url().absoluteString(),
            "http://example.com/2");
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
