// Drives the real program in a window on an X display (run under xvfb-run): clicks and keys go
// through xdotool, and every check reads the pixels the X server shows.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "reader/model/Item.h"
#include "reader/model/Utilities.h"
#include "tests/app/gui/WindowProgram.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

// The home screen: the reader's beige with story text on it from top to bottom, no alert and no
// lead-reader banner. (An alert over an empty home is dark on beige too.)
bool leadBanner(const ScreenImage& s) {
  return fraction(s, {10, 398, 300, 24}, deepRed) > 0.5;
}
bool homeTiles(const ScreenImage& s) {
  return s.width == 320 && fraction(s, {0, 64, 320, 396}, beige) > 0.4 &&
         fraction(s, {0, 64, 320, 100}, dark) > 0.02 &&
         fraction(s, {0, 220, 320, 100}, dark) > 0.02 &&
         fraction(s, {0, 370, 320, 90}, dark) > 0.02 && !alertShown(s) && !leadBanner(s);
}
// The article page inside the web view: its own red header band, then white page with text.
bool articlePage(const ScreenImage& s) {
  return fraction(s, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); }) >
             0.6 &&
         fraction(s, {0, 120, 320, 250}, white) > 0.4 &&
         fraction(s, {0, 120, 320, 250}, dark) > 0.01;
}
// The article page's header band and text with an alert box in the middle: the page under the
// alert is its picture, not the web view's empty white.
bool articleUnderAlert(const ScreenImage& s) {
  return fraction(s, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); }) >
             0.6 &&
         fraction(s, {0, 100, 320, 60}, white) > 0.4 &&
         fraction(s, {0, 100, 320, 60}, dark) > 0.01 && alertShown(s);
}
TEST(WindowEndToEnd, ReadsTheDemoSiteThroughTheWindow) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;  // settings of this run only
  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());

  ScreenImage grid;
  ASSERT_TRUE(vemo.waitFor(homeTiles, &grid)) << "the home grid did not show tiles with text";
  // Negative control: the detectors tell the screens apart.
  EXPECT_FALSE(leadBanner(grid));
  EXPECT_FALSE(articlePage(grid));

  // A click on the status bar is no tap on anything: home throughout the second after it (nothing
  // shows that the click was dropped, so this watches for a while).
  vemo.click(160, 10);
  EXPECT_FALSE(vemo.waitFor([](const ScreenImage& s) { return !homeTiles(s); }, nullptr, 1));

  vemo.click(60, 150);  // the lead story's tile
  ScreenImage lead;
  ASSERT_TRUE(vemo.waitFor(leadBanner, &lead)) << "the tile did not open the lead reader";
  EXPECT_FALSE(articlePage(lead));

  vemo.click(296, 40);  // the full-article button
  ScreenImage article;
  ASSERT_TRUE(vemo.waitFor(articlePage, &article)) << "the article page did not show in a web view";
  // The footer lies over the page's bottom and stays reachable: its save toggle changes picture.
  const Area saveToggle{55, 438, 40, 40};
  EXPECT_LT(fraction(article, {0, 440, 320, 40}, white), 0.5) << "the page covers the footer";
  vemo.click(75, 458);
  EXPECT_TRUE(vemo.waitFor([&](const ScreenImage& s) {
    return changedIn(s, article, saveToggle) > 0.05;
  })) << "the save toggle did not answer";
  EXPECT_NE(output(std::string(VEMO_PATH) + " saved").find("Quốc hội"), std::string::npos)
      << "the story was not saved";

  vemo.key("Escape");
  EXPECT_TRUE(vemo.waitFor([](const ScreenImage& s) { return leadBanner(s) && !articlePage(s); }))
      << "Escape did not go back to the lead reader";
  // The screens ignore keys until the pop's slide is over.
  ASSERT_TRUE(waitForStill(vemo));
  vemo.key("alt+Left");
  EXPECT_TRUE(vemo.waitFor(homeTiles)) << "Alt+Left did not go back home";

  vemo.key("ctrl+Right");
  EXPECT_TRUE(vemo.waitFor([](const ScreenImage& s) { return s.width == 480 && s.height == 320; }))
      << "Ctrl+Right did not turn the window";
  ScreenImage landscape = vemo.capture();
  EXPECT_GT(fraction(landscape, {0, 64, 480, 256}, beige), 0.4);
  vemo.key("ctrl+Left");
  ASSERT_TRUE(vemo.waitFor(homeTiles, &grid)) << "Ctrl+Left did not turn back to portrait";
  ASSERT_TRUE(waitForStill(vemo));
  grid = vemo.capture();

  vemo.click(300, 42);  // the style button
  ScreenImage list;
  ASSERT_TRUE(vemo.waitFor(
      [&](const ScreenImage& s) { return changedBelowStatusBar(s, grid) > 0.1; }, &list))
      << "the style button did not change the home screen";
  ASSERT_TRUE(waitForStill(vemo, 1));  // thumbnails
  list = vemo.capture();

  vemo.stop();
  Program again;
  ASSERT_NO_FATAL_FAILURE(again.start());
  ScreenImage restarted;
  EXPECT_TRUE(again.waitFor(
      [&](const ScreenImage& s) { return changedBelowStatusBar(s, list) < 0.03; }, &restarted))
      << "the list style did not survive the restart (difference "
      << changedBelowStatusBar(restarted, list) << ", from the grid "
      << changedBelowStatusBar(restarted, grid) << ")";
}

}  // namespace

namespace {

// Ctrl+Shift+A shows the accounts screen modally over the reader (the grouped table's grey in
// the margin beside the services' rows); its Done button brings the reader back.
TEST(WindowEndToEnd, AccountsScreenOpensWithItsShortcut) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home grid did not show";
  auto accounts = [](const ScreenImage& s) {
    return fraction(s, {0, 70, 8, 400}, [](const Rgb& p) { return near(p, 197, 204, 212, 6); }) >
           0.9;
  };
  EXPECT_FALSE(accounts(vemo.capture()));
  vemo.key("ctrl+shift+a");
  ASSERT_TRUE(vemo.waitFor(accounts)) << "Ctrl+Shift+A did not show the accounts screen";
  vemo.click(287, 42);  // Done
  EXPECT_TRUE(vemo.waitFor(homeTiles)) << "Done did not close the accounts screen";
}

// Negative control: with a home feed that has no stories the home check must fail, so that its
// passing above means the stories showed. (An empty VEMO_DATA_DIR proves nothing: every file not
// found there is taken from the source tree.)
TEST(WindowEndToEnd, HomeCheckFailsWithoutStories) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  ASSERT_FALSE(copySite(home.path()).empty());
  std::string feed = testing_support::readFile(home / "sample-site/Home.rss");
  size_t first = feed.find("<item>"), last = feed.rfind("</item>");
  ASSERT_NE(last, std::string::npos);
  feed.erase(first, last + std::string("</item>").size() - first);
  testing_support::writeFile(home / "sample-site/Home.rss", feed);
  ScopedEnv data("VEMO_DATA_DIR", home.path().string());

  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ScreenImage shown;
  EXPECT_FALSE(vemo.waitFor(homeTiles, &shown, 8)) << "the home check passed with no stories";
  EXPECT_FALSE(articlePage(shown));
}

// An alert over the article page: the live web view would paint over it, so the window shows the
// page's picture under the alert instead of leaving an empty hole.
TEST(WindowEndToEnd, AlertOverTheArticleShowsThePage) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  std::filesystem::path lead = copySite(home.path());
  ASSERT_FALSE(lead.empty());
  // A while after it loaded, the page goes to a loopback port bound but not listening: the load
  // fails, the article stays and the reader says so in an alert.
  int closed = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(closed, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(getsockname(closed, reinterpret_cast<sockaddr*>(&address), &size), 0);
  std::string page = testing_support::readFile(lead);
  size_t body = page.rfind("</body>");
  ASSERT_NE(body, std::string::npos);
  page.insert(body, "<script>setTimeout(function() { location.href = 'http://127.0.0.1:" +
                        std::to_string(ntohs(address.sin_port)) + "/'; }, 2500);</script>");
  testing_support::writeFile(lead, page);
  ScopedEnv data("VEMO_DATA_DIR", home.path().string());

  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home grid did not show tiles with text";
  vemo.click(60, 150);
  ASSERT_TRUE(vemo.waitFor(leadBanner)) << "the tile did not open the lead reader";
  vemo.click(296, 40);
  ASSERT_TRUE(vemo.waitFor(articlePage)) << "the article page did not show in a web view";

  ScreenImage covered;
  EXPECT_TRUE(vemo.waitFor(articleUnderAlert, &covered))
      << "no alert over the article's picture (header red "
      << fraction(covered, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); })
      << ", alert " << alertShown(covered) << ")";
  close(closed);
}

// Shares the lead story by mail from the lead reader with the sandbox as the mail server: the
// share button, "Email" on the sheet, the To field, Send; the sandbox's SMTP sink has the message.
TEST(WindowEndToEnd, SharesTheLeadStoryByMailIntoTheSandbox) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  const std::string errors = (home.path() / "stderr.txt").string();
  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start({"--services", "sandbox"}, errors));
  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home grid did not show";
  std::string said = testing_support::readFile(errors);
  size_t at = said.find("sandbox at http://127.0.0.1:");
  ASSERT_NE(at, std::string::npos) << said;
  int port = std::atoi(said.c_str() + at + std::string("sandbox at http://127.0.0.1:").size());

  vemo.click(60, 150);  // the lead story's tile
  ASSERT_TRUE(vemo.waitFor(leadBanner)) << "the tile did not open the lead reader";
  ASSERT_TRUE(clickAndSettle(vemo, 27, 458)) << "no share sheet";
  ASSERT_TRUE(clickAndSettle(vemo, 160, 277)) << "no composer";  // "Email", the sheet's first
  vemo.click(200, 82);                                           // the To field
  output("xdotool type --delay 20 ann@vemo.vn");
  vemo.click(289, 42);  // Send

  httplib::Client sandbox("127.0.0.1", port);
  std::string mail;
  for (int i = 0; i < 40 && mail.find("ann@vemo.vn") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    if (auto answer = sandbox.Get("/_sandbox/mail")) mail = answer->body;
  }
  EXPECT_NE(mail.find("\"to\":[\"ann@vemo.vn\"]"), std::string::npos) << mail;
  EXPECT_TRUE(vemo.waitFor(leadBanner)) << "the composer did not close after sending";
}

}  // namespace

namespace {

// The demo site served by the test, its home feed answered `delay` seconds late.
class SlowSite {
 public:
  explicit SlowSite(std::chrono::seconds delay) {
    server_.server().Get(".*", [this, delay](const httplib::Request& request,
                                             httplib::Response& response) {
      if (request.path == "/Home.rss") std::this_thread::sleep_for(delay);
      std::filesystem::path file = std::filesystem::path(VEMO_SAMPLE_SITE) / request.path.substr(1);
      if (request.path.find("..") != std::string::npos || !std::filesystem::is_regular_file(file)) {
        response.status = 404;
        return;
      }
      std::string body = testing_support::readFile(file);
      std::string extension = file.extension().string();
      if (extension != ".png" && extension != ".jpg") {
        for (size_t at = body.find("{{SITE}}"); at != std::string::npos;
             at = body.find("{{SITE}}", at)) {
          body.replace(at, 8, server_.url());
        }
      }
      const std::map<std::string, std::string> types{
          {".png", "image/png"}, {".jpg", "image/jpeg"}, {".html", "text/html; charset=utf-8"}};
      auto type = types.find(extension);
      response.set_content(body, type == types.end() ? "text/xml; charset=utf-8" : type->second);
    });
    server_.start();
  }
  std::string url() const { return server_.url(); }

 private:
  testing_support::LoopbackServer server_;
};

// The status bar's network activity indicator, right of the "Vemo" there.
constexpr Area kIndicator{39, 3, 14, 14};
bool spoke(const Rgb& p) {
  return p.r + p.g + p.b < 360;
}
// The home screen's frame with nothing in it yet: its red title, an empty beige content area.
bool emptyHome(const ScreenImage& s) {
  return fraction(s, {130, 30, 60, 24}, deepRed) > 0.03 &&
         fraction(s, {0, 70, 320, 390}, beige) > 0.95;
}

// Against a slow site the window stays alive: it shows its frame and a spinning indicator at
// once, repaints when resized, and drops a click made while the feed is on its way.
TEST(WindowEndToEnd, StaysLiveWhileTheHomeFeedDownloads) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  SlowSite site(std::chrono::seconds(4));  // twice at start: the load and the activation
  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start({"--site", site.url()}));

  ScreenImage first;
  ASSERT_TRUE(vemo.waitFor(emptyHome, &first, 3)) << "no frame before the home feed";
  EXPECT_GT(fraction(first, kIndicator, spoke), 0.1) << "no activity indicator";
  bool turned = false;
  for (int i = 0; i < 6 && !turned; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(130));
    ScreenImage later = vemo.capture();
    turned = emptyHome(later) && changedIn(first, later, kIndicator) > 0.02;
  }
  EXPECT_TRUE(turned) << "the activity indicator does not spin";

  vemo.click(20, 42);  // the category menu button, while the feed is still on its way
  vemo.resize(400, 560);
  ScreenImage resized;
  EXPECT_TRUE(vemo.waitFor(
      [](const ScreenImage& s) {
        return s.width == 400 && fraction(s, {0, 70, 320, 390}, beige) > 0.95 &&
               fraction(s, {330, 100, 60, 400}, [](const Rgb& p) { return p.r > 200; }) > 0.95;
      },
      &resized, 3))
      << "the window did not repaint after the resize (" << resized.width << "x" << resized.height
      << ", frame " << fraction(resized, {0, 70, 320, 390}, beige) << ", new area "
      << fraction(resized, {330, 100, 60, 400}, [](const Rgb& p) { return p.r > 200; }) << ")";
  vemo.resize(320, 480);

  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home feed never arrived";
  // Nothing shows a dropped click: watch the home screen for a while.
  EXPECT_FALSE(vemo.waitFor([](const ScreenImage& s) { return !homeTiles(s); }, nullptr, 2))
      << "the click made during the download was acted on";
}

}  // namespace

namespace {

// Saved stories in the window: the red control only asks, the Delete button it reveals deletes,
// and a row dragged by its handle moves. The store is read back with `vemo saved`.
TEST(WindowEndToEnd, SavedStoriesAreDeletedOnConfirmationAndReorderedByTheirHandles) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  std::vector<ItemPtr> saved;
  for (const char* title : {"Alpha", "Beta", "Gamma"}) {
    auto story = std::make_shared<Item>();
    story->title = title;
    story->link = std::string("http://127.0.0.1:9/") + title;
    saved.push_back(story);
  }
  ASSERT_TRUE(Utilities().setBookmarkItem(saved));
  // The titles in stored order.
  auto stored = [] {
    std::string text = output(std::string(VEMO_PATH) + " saved");
    std::multimap<size_t, std::string> found;
    for (const char* title : {"Alpha", "Beta", "Gamma"}) {
      if (size_t at = text.find(title); at != std::string::npos) found.emplace(at, title);
    }
    std::vector<std::string> titles;
    for (const auto& [at, title] : found) titles.push_back(title);
    return titles;
  };
  auto storedBecomes = [&](const std::vector<std::string>& titles) {
    for (int i = 0; i < 20 && stored() != titles; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return stored() == titles;
  };

  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home grid did not show tiles with text";
  ASSERT_TRUE(clickAndSettle(vemo, 94, 42));   // saved stories: rows Gamma, Beta, Alpha
  ASSERT_TRUE(clickAndSettle(vemo, 296, 40));  // edit

  // Rows are 60 points high from y 64; the Delete button shows right of the row's middle.
  auto deleteButton = [](const ScreenImage& s) {
    return fraction(s, {252, 84, 52, 20}, [](const Rgb& p) { return p.r > 150 && p.g < 70; }) > 0.5;
  };
  ScreenImage editing = vemo.capture();
  EXPECT_FALSE(deleteButton(editing));
  vemo.click(16, 94);  // Gamma's delete control
  ScreenImage asking;
  EXPECT_TRUE(vemo.waitFor(deleteButton, &asking, 3)) << "no Delete button";
  // Nothing shows a delete that did not happen: the store stays whole once the button stands.
  ASSERT_TRUE(waitForStill(vemo));
  EXPECT_EQ(stored(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}))
      << "the control deleted at once";
  vemo.click(278, 94);  // Delete
  EXPECT_TRUE(storedBecomes({"Alpha", "Beta"}));

  // Alpha, now the second row, by its handle to the top.
  ASSERT_TRUE(waitForStill(vemo));  // the row slides away
  // The drag's pauses give the table its motion events one at a time.
  output("xdotool mousemove --window " + vemo.id() + " 304 154 mousedown 1 sleep 0.2 " +
         "mousemove --window " + vemo.id() + " 304 130 sleep 0.2 mousemove --window " + vemo.id() +
         " 304 90 sleep 0.2 mousemove --window " + vemo.id() + " 304 80 sleep 0.2 mouseup 1");
  EXPECT_TRUE(storedBecomes({"Beta", "Alpha"})) << "the drag did not move the row";
}

}  // namespace

// Facebook's log-in in the window: the accounts screen's button shows the panel over the window
// with the sandbox's log-in page in it; logging in there reaches the REST server, and the panel
// goes.
TEST(WindowEndToEnd, FacebookLogInThroughThePanel) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir dir;
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  auto recorded = [&sandbox](const std::string& path) {
    return sandbox.log().json().find("\"path\": \"" + path + "\"") != std::string::npos;
  };
  Program program;
  program.start({"--services", sandbox.baseUrl()});
  auto connectButton = [](const ScreenImage& s) {
    // Facebook's row is the third: Delicious and Twitter come first.
    return fraction(s, {215, 178, 80, 12}, [](const Rgb& p) { return near(p, 67, 96, 156, 30); }) >
           0.3;
  };
  // The title bar's blue across the top, the page's white below it.
  auto panel = [](const ScreenImage& s) {
    return fraction(s, {30, 31, 240, 3}, [](const Rgb& p) { return near(p, 109, 132, 179, 12); }) >
               0.5 &&
           fraction(s, {40, 200, 240, 200}, white) > 0.9;
  };
  ScreenImage last;
  // A first start (fonts, WebKit's processes) can be slow.
  ASSERT_TRUE(program.waitFor([](const ScreenImage& s) { return !s.pixels.empty(); }, nullptr, 40));
  program.key("ctrl+shift+a");
  ASSERT_TRUE(program.waitFor(connectButton, &last, 40)) << "no accounts screen";
  program.click(251, 184);
  ASSERT_TRUE(program.waitFor(panel, &last, 40)) << "no log-in panel";
  for (int i = 0; i < 100 && !recorded("/login.php"); ++i) usleep(100000);
  ASSERT_TRUE(waitForStill(program, 1));  // the page painted its fields
  program.click(170, 80);
  program.type("ann@example.test");
  program.click(195, 117);
  program.type("secret");
  program.click(56, 155);
  for (int i = 0; i < 200 && !recorded("/restserver.php"); ++i) usleep(100000);
  EXPECT_TRUE(recorded("/restserver.php"));
  EXPECT_TRUE(program.waitFor([&](const ScreenImage& s) { return !panel(s); }, &last));
  program.stop();
}
