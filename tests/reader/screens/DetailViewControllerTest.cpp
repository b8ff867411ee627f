#include "reader/screens/DetailViewController.h"

#include "tests/reader/screens/ScreenTestSupport.h"

using namespace screen_testing;
using testing_support::storyAt;

namespace {

using Lines = std::vector<std::string>;

class DetailTest : public ReaderTest {
 protected:
  DetailViewController& open(const std::string& link, const std::string& title = "") {
    return push<DetailViewController>(std::vector{storyAt(link, title)}, 0, "NO");
  }
  static std::string loaded(DetailViewController& screen, size_t i = 0) {
    const auto& requests = engine(screen).startedRequests();
    return i < requests.size() ? requests[i].url().absoluteString() : "(none)";
  }
  // The saved stories as "link title" lines.
  static Lines stored() {
    Lines lines;
    for (const auto& item : Utilities().getBookmarkItem())
      lines.push_back(item->link.value_or("?") + " " + item->title.value_or("?"));
    return lines;
  }
};

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

TEST_F(DetailTest, SavingKeepsTheStoredStoriesAndALateTitleReachesTheSavedOne) {
  Utilities().setBookmarkItem({storyAt("http://example.com/x", "X")});
  DetailViewController& screen = open("http://example.com/a", "A");
  engine(screen).finishLoad("");
  screen.bookmarkButtonPush();
  // The same story saved from the feed, with a title of its own, is left as it is.
  auto list = Utilities().getBookmarkItem();
  list.insert(list.begin() + 1, storyAt("http://example.com/a", "Tin A"));
  Utilities().setBookmarkItem(list);
  engine(screen).changeTitle("Trang A");
  EXPECT_EQ(screen.titleLabel()->text(), "Trang A");
  EXPECT_EQ(stored(), (Lines{"http://example.com/x X", "http://example.com/a Tin A",
                             "http://example.com/a Trang A"}));
}

TEST_F(DetailTest, OnlyWebAddressesAreLoadedEscapedBetweenTheHeaderAndTheFooter) {
  for (const char* link : {"javascript:alert(document.cookie)", "file:///etc/passwd",
                           "data:text/html,<b>x</b>", "ftp://example.com/a", ""}) {
    SCOPED_TRACE(link);
    EXPECT_EQ(loaded(open(link)), "(none)");
    EXPECT_EQ(alertMessage(), ReaderScreen::kUpdatingMessage);
    pop();
  }
  // Blanks and Vietnamese letters are escaped; the scheme may be in capitals. The footer's
  // buttons lie above the page in both orientations.
  DetailViewController& screen = open("HTTPS://example.com/tin tức.html");
  EXPECT_EQ(loaded(screen), "HTTPS://example.com/tin%20t%E1%BB%A9c.html");
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  EXPECT_TRUE(looksLike(*screen.view(), "article-portrait", 1));
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  EXPECT_TRUE(looksLike(*screen.view(), "article-landscape", 1));
}

// A page reached by a link is saved under its own address and title, with an engine that reports
// the address loaded at once and with one that reports it late; a link that then fails leaves
// that page on screen as the one saved, and back leads to the first page.
TEST_F(DetailTest, SavesThePageOnScreen) {
  for (bool late : {false, true}) {
    SCOPED_TRACE(late ? "late address" : "address at once");
    if (late) ui::WebEngine::setFactory([] { return std::make_unique<LateAddressEngine>(); });
    Utilities().setBookmarkItem({});
    DetailViewController& screen = open("http://example.com/a", "A");
    engine(screen).finishLoad("Trang A");
    engine(screen).clickLink("http://example.com/b");
    engine(screen).finishLoad("Trang B");
    engine(screen).clickLink("http://example.com/broken");
    engine(screen).failLoad(net::Error(net::Error::kDomain, net::Error::CannotConnectToHost, ""));
    EXPECT_EQ(alertMessage(), ReaderScreen::kUpdatingMessage);
    EXPECT_FALSE(indicator());
    screen.bookmarkButtonPush();
    ui::WebEngine::setFactory({});
    EXPECT_EQ(stored(), Lines{"http://example.com/b Trang B"});
    auto buttons = [&] {
      return std::pair{screen.previousButton()->isEnabled(), screen.nextButton()->isEnabled()};
    };
    EXPECT_EQ(buttons(), std::pair(true, false));
    screen.previousButton()->sendActionsForTouchUpInside();
    engine(screen).finishLoad();
    EXPECT_EQ(buttons(), std::pair(false, true));
    EXPECT_EQ(screen.currentItem()->link, "http://example.com/a");
    EXPECT_EQ(screen.titleLabel()->text(), "Trang A");
    pop();
  }
}

TEST_F(DetailTest, RefreshReloadsThePageOnScreenOrLoadsTheStoryAgain) {
  // A refused address: refresh and the activation's "reload" leave the indicator off.
  DetailViewController& refused = open("ftp://example.com/a");
  ui::AlertStack::shared().reset();
  refused.refreshButton()->sendActionsForTouchUpInside();
  base::NotificationCenter::defaultCenter().post(ReaderScreen::kReloadNotification);
  settle();  // the home screen below reloads its feed too
  EXPECT_FALSE(indicator());
  EXPECT_EQ(loaded(refused), "(none)");
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  pop();

  // During a load neither refresh nor the activation's "reload" starts a second one; a first load
  // that failed leaves no page to save and is tried again; a page on screen is reloaded.
  DetailViewController& screen = open("http://example.com/a");
  screen.refreshButton()->sendActionsForTouchUpInside();
  base::NotificationCenter::defaultCenter().post(ReaderScreen::kReloadNotification);
  EXPECT_EQ(engine(screen).startedRequests().size(), 1u);
  engine(screen).failLoad(net::Error(net::Error::kDomain, net::Error::TimedOut, "slow"));
  screen.bookmarkButtonPush();
  EXPECT_EQ(stored(), Lines{});
  screen.refreshButtonPush();
  EXPECT_EQ(loaded(screen, 1), "http://example.com/a");
  EXPECT_TRUE(indicator());
  engine(screen).finishLoad("Trang A");
  EXPECT_FALSE(indicator());
  EXPECT_EQ(screen.titleLabel()->text(), "Trang A");
  screen.refreshButtonPush();
  EXPECT_EQ(engine(screen).startedRequests().size(), 3u);
}

TEST_F(DetailTest, LinksUnderTheSitesFormerAddressOpenOnTheCurrentOne) {
  NewsSite::setFormerAddress("http://127.0.0.1:6108/");
  const std::pair<std::string, std::string> cases[] = {
      {"http://127.0.0.1:6108/tin/1.html", site_.url("/tin/1.html")},
      {"http://127.0.0.1:61080/tin/1.html", "http://127.0.0.1:61080/tin/1.html"},
      {"http://example.com/http://127.0.0.1:6108/", "http://example.com/http://127.0.0.1:6108/"},
  };
  for (const auto& [link, address] : cases) {
    SCOPED_TRACE(link);
    EXPECT_EQ(loaded(open(link)), address);
    pop();
  }
  NewsSite::setFormerAddress("");
}
