#include "reader/screens/DetailViewController.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

using namespace screen_testing;
using testing_support::storyAt;

namespace {

ui::HeadlessWebEngine& engine(DetailViewController& screen) {
  return dynamic_cast<ui::HeadlessWebEngine&>(screen.webView()->engine());
}

std::string toggleImage(DetailViewController& screen) {
  return imageName(screen.bookmarkButton()->image(ui::ControlState::Normal));
}

class DetailTest : public ReaderTest {
 protected:
  DetailViewController& open(std::vector<ItemPtr> list) {
    return push<DetailViewController>(std::move(list), 0, "NO");
  }
  Utilities settings_;
};

}  // namespace

TEST_F(DetailTest, FrameAndWebView) {
  DetailViewController& screen = open({storyAt("http://example.com/a")});
  EXPECT_TRUE(screen.webView()->scalesPageToFit());
  // The footer buttons lie above the page.
  EXPECT_TRUE(looksLike(*screen.view(), "article-portrait", 1));
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  ReaderRun::settle();
  EXPECT_TRUE(looksLike(*screen.view(), "article-landscape", 1));
}

TEST_F(DetailTest, SavedStoryShowsSavedOnceLoadedAndTheToggleRemovesIt) {
  settings_.setBookmarkItem(
      {storyAt("http://example.com/x", "X"), storyAt("http://example.com/a")});
  DetailViewController& screen = open({storyAt("http://example.com/a", "A")});
  ASSERT_EQ(engine(screen).startedRequests().size(), 1u);
  EXPECT_EQ(engine(screen).startedRequests()[0].url().absoluteString(), "http://example.com/a");
  EXPECT_EQ(toggleImage(screen), "fav_default.png");  // not finished yet
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());

  engine(screen).finishLoad("Trang A");
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  EXPECT_EQ(screen.titleLabel()->text(), "Trang A");
  EXPECT_EQ(toggleImage(screen), "fav_activated.png");
  screen.bookmarkButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(toggleImage(screen), "fav_default.png");
  auto stored = settings_.getBookmarkItem();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0]->link, "http://example.com/x");
}

TEST_F(DetailTest, LateTitleReachesTheHeaderAndTheSavedStory) {
  DetailViewController& screen = open({storyAt("http://example.com/a", "A")});
  engine(screen).finishLoad("");
  engine(screen).changeTitle("Trang A");
  EXPECT_EQ(screen.titleLabel()->text(), "Trang A");
  screen.bookmarkButtonPush();
  auto stored = settings_.getBookmarkItem();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0]->title, "Trang A");
}

TEST_F(DetailTest, WithoutAHandedListSavingKeepsTheStoredStories) {
  settings_.setBookmarkItem({storyAt("http://example.com/x", "X")});
  DetailViewController& screen = open({storyAt("http://example.com/a")});
  engine(screen).finishLoad("Trang A");
  screen.bookmarkButtonPush();
  auto stored = settings_.getBookmarkItem();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0]->link, "http://example.com/x");
  EXPECT_EQ(stored[1]->link, "http://example.com/a");
}

TEST_F(DetailTest, RefreshDuringALoadStartsNoSecondLoad) {
  DetailViewController& screen = open({storyAt("http://example.com/a")});
  screen.refreshButton()->sendActionsForTouchUpInside();
  base::NotificationCenter::defaultCenter().post(ReaderScreen::kReloadNotification);
  EXPECT_EQ(engine(screen).startedRequests().size(), 1u);
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  engine(screen).finishLoad("Trang A");
  screen.refreshButtonPush();
  EXPECT_EQ(engine(screen).startedRequests().size(), 2u);
  EXPECT_TRUE(screen.webView()->isLoading());
}

TEST_F(DetailTest, BackAndForwardFollowTheHistory) {
  DetailViewController& screen = open({storyAt("http://example.com/a")});
  EXPECT_FALSE(screen.previousButton()->isEnabled());
  EXPECT_FALSE(screen.nextButton()->isEnabled());
  engine(screen).finishLoad("A");
  engine(screen).clickLink("http://example.com/b");
  engine(screen).finishLoad("B");
  EXPECT_TRUE(screen.previousButton()->isEnabled());
  EXPECT_FALSE(screen.nextButton()->isEnabled());
  screen.previousButton()->sendActionsForTouchUpInside();
  engine(screen).finishLoad();
  EXPECT_FALSE(screen.previousButton()->isEnabled());
  EXPECT_TRUE(screen.nextButton()->isEnabled());
  EXPECT_EQ(screen.currentItem()->link, "http://example.com/a");
  EXPECT_EQ(screen.titleLabel()->text(), "A");
  screen.nextButtonPush();
  engine(screen).finishLoad();
  EXPECT_TRUE(screen.previousButton()->isEnabled());
  EXPECT_FALSE(screen.nextButton()->isEnabled());
}

TEST_F(DetailTest, OnlyWebAddressesAreLoaded) {
  for (const char* link : {"javascript:alert(document.cookie)", "file:///etc/passwd",
                           "data:text/html,<b>x</b>", "ftp://example.com/a", ""}) {
    SCOPED_TRACE(link);
    DetailViewController& screen = open({storyAt(link)});
    EXPECT_TRUE(engine(screen).startedRequests().empty());
    EXPECT_EQ(alertMessage(), ReaderScreen::kUpdatingMessage);
    ui::AlertStack::shared().reset();
    pop();
  }
  // Blanks and Vietnamese letters are escaped; the scheme may be in capitals.
  DetailViewController& screen = open({storyAt("HTTPS://example.com/tin tức.html")});
  ASSERT_EQ(engine(screen).startedRequests().size(), 1u);
  EXPECT_EQ(engine(screen).startedRequests()[0].url().absoluteString(),
            "HTTPS://example.com/tin%20t%E1%BB%A9c.html");
  EXPECT_TRUE(ui::AlertStack::shared().empty());
}

TEST_F(DetailTest, FailedLoadLeavesThePageOnScreenAsTheOneSaved) {
  DetailViewController& first = open({storyAt("http://example.com/x")});
  engine(first).failLoad(net::Error(net::Error::kDomain, net::Error::TimedOut, "slow"));
  first.bookmarkButtonPush();  // no page on screen: nothing to save
  EXPECT_TRUE(settings_.getBookmarkItem().empty());
  ui::AlertStack::shared().reset();

  DetailViewController& screen = open({storyAt("http://example.com/a")});
  engine(screen).finishLoad("Trang A");
  engine(screen).clickLink("http://example.com/broken");
  engine(screen).failLoad(net::Error(net::Error::kDomain, net::Error::CannotConnectToHost, "no"));
  EXPECT_EQ(alertMessage(), ReaderScreen::kUpdatingMessage);
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  screen.bookmarkButtonPush();
  auto stored = settings_.getBookmarkItem();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0]->link, "http://example.com/a");
  EXPECT_EQ(stored[0]->title, "Trang A");
}

TEST_F(DetailTest, TitleArrivingAfterTheSaveIsStored) {
  DetailViewController& screen = open({storyAt("http://example.com/a", "A")});
  engine(screen).finishLoad("");
  screen.bookmarkButtonPush();
  // The same story saved from the feed, with a title of its own, is left as it is.
  settings_.setBookmarkItem(
      {storyAt("http://example.com/a", "Tin A"), settings_.getBookmarkItem()[0]});
  engine(screen).changeTitle("Trang A");
  auto stored = settings_.getBookmarkItem();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0]->title, "Tin A");
  EXPECT_EQ(stored[1]->title, "Trang A");
}

TEST_F(DetailTest, RefreshWithNoPageOnScreen) {
  // A refused address: refresh and the activation's "reload" leave the indicator off.
  DetailViewController& refused = open({storyAt("ftp://example.com/a")});
  ui::AlertStack::shared().reset();
  refused.refreshButton()->sendActionsForTouchUpInside();
  base::NotificationCenter::defaultCenter().post(ReaderScreen::kReloadNotification);
  ReaderRun::settle();  // the home screen below reloads its feed too
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  EXPECT_TRUE(engine(refused).startedRequests().empty());
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  pop();

  // A first load that failed is tried again.
  DetailViewController& screen = open({storyAt("http://example.com/a")});
  engine(screen).failLoad(net::Error(net::Error::kDomain, net::Error::TimedOut, "slow"));
  ui::AlertStack::shared().reset();
  screen.refreshButtonPush();
  ASSERT_EQ(engine(screen).startedRequests().size(), 2u);
  EXPECT_EQ(engine(screen).startedRequests()[1].url().absoluteString(), "http://example.com/a");
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  engine(screen).finishLoad("Trang A");
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  EXPECT_EQ(screen.titleLabel()->text(), "Trang A");
}

namespace {
// Like WebKit for a load the page started: until it commits, the address reported is that of
// the page still on screen.
class LateAddressEngine : public ui::HeadlessWebEngine {
 public:
  std::optional<net::UrlRequest> currentRequest() const override {
    if (const Page* page = currentPage()) return page->request;
    return HeadlessWebEngine::currentRequest();
  }
};
}  // namespace

TEST_F(DetailTest, PageReachedByALinkIsSavedUnderItsOwnAddressAndTitle) {
  // With either engine: one that reports the address loaded at once, and one that reports it late.
  for (bool late : {false, true}) {
    SCOPED_TRACE(late ? "late address" : "address at once");
    if (late) ui::WebEngine::setFactory([] { return std::make_unique<LateAddressEngine>(); });
    settings_.setBookmarkItem({});
    DetailViewController& screen = open({storyAt("http://example.com/a", "A")});
    engine(screen).finishLoad("Trang A");
    engine(screen).clickLink("http://example.com/b");
    engine(screen).finishLoad("Trang B");
    screen.bookmarkButtonPush();
    ui::WebEngine::setFactory({});
    EXPECT_EQ(toggleImage(screen), "fav_activated.png");
    auto stored = settings_.getBookmarkItem();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->link, "http://example.com/b");
    EXPECT_EQ(stored[0]->title, "Trang B");
    pop();
  }
}

TEST_F(DetailTest, LinksUnderTheSitesFormerAddressOpenOnTheCurrentOne) {
  NewsSite::setFormerAddress("http://127.0.0.1:6108/");
  const std::pair<std::string, std::string> cases[] = {
      {"http://127.0.0.1:6108/tin/1.html", site_.url("/tin/1.html")},
      {"http://127.0.0.1:6108", site_.url("")},
      {"http://127.0.0.1:61080/tin/1.html", "http://127.0.0.1:61080/tin/1.html"},
      {"http://example.com/http://127.0.0.1:6108/", "http://example.com/http://127.0.0.1:6108/"},
  };
  for (const auto& [link, loaded] : cases) {
    SCOPED_TRACE(link);
    DetailViewController& screen = open({storyAt(link)});
    ASSERT_EQ(engine(screen).startedRequests().size(), 1u);
    EXPECT_EQ(engine(screen).startedRequests()[0].url().absoluteString(), loaded);
    pop();
  }
  NewsSite::setFormerAddress("");
}
