// Drives the real program in a window on an X display (run under xvfb-run): clicks and keys go
// through xdotool, and every check reads the pixels the X server shows.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <thread>

#include "app/demo/DemoSite.h"
#include "reader/model/Utilities.h"
#include "tests/app/gui/WindowProgram.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Stories.h"

namespace {

// The article page inside the web view: its own red header band, then `area` of white page with
// text.
bool articleIn(const ScreenImage& s, Area area) {
  return fraction(s, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); }) >
             0.6 &&
         fraction(s, area, white) > 0.4 && fraction(s, area, dark) > 0.01;
}
bool articlePage(const ScreenImage& s) {
  return articleIn(s, {0, 120, 320, 250});
}
// Watches the window for `seconds`: nothing shows that a click or key was dropped.
bool staysHome(const Program& vemo, double seconds) {
  return !vemo.waitFor([](const ScreenImage& s) { return !homeTiles(s); }, nullptr, seconds);
}

using WindowEndToEnd = WindowTest;

TEST_F(WindowEndToEnd, ReadsTheDemoSiteThroughTheWindow) {
  ASSERT_NO_FATAL_FAILURE(vemo_.start());
  ScreenImage grid;
  ASSERT_TRUE(vemo_.waitFor(homeTiles, &grid));
  EXPECT_FALSE(articlePage(grid)) << "negative control: the detectors tell the screens apart";
  vemo_.click(160, 10);  // the status bar is no tap on anything
  EXPECT_TRUE(staysHome(vemo_, 1));

  ASSERT_TRUE(vemo_.openLead());
  EXPECT_FALSE(articlePage(vemo_.capture()));
  vemo_.click(296, 40);  // the full-article button
  ScreenImage article;
  ASSERT_TRUE(vemo_.waitFor(articlePage, &article)) << "no article page in a web view";
  // The footer lies over the page's bottom and stays reachable: its save toggle changes picture.
  EXPECT_LT(fraction(article, {0, 440, 320, 40}, white), 0.5) << "the page covers the footer";
  vemo_.click(75, 458);
  EXPECT_TRUE(vemo_.waitFor([&](const ScreenImage& s) {
    return changedIn(s, article, {55, 438, 40, 40}) > 0.05;
  })) << "the save toggle did not answer";
  EXPECT_NE(output(VEMO_PATH " saved").find("Quốc hội"), std::string::npos) << "not saved";

  vemo_.key("Escape");
  EXPECT_TRUE(vemo_.waitFor([](const ScreenImage& s) { return leadReader(s) && !articlePage(s); }))
      << "Escape did not go back to the lead reader";
  ASSERT_TRUE(vemo_.waitForStill());  // the screens ignore keys until the pop's slide is over
  vemo_.key("alt+Left");
  EXPECT_TRUE(vemo_.waitFor(homeTiles)) << "Alt+Left did not go back home";
  vemo_.key("ctrl+Right");
  EXPECT_TRUE(vemo_.waitFor([](const ScreenImage& s) {
    return s.width == 480 && s.height == 320 && fraction(s, {0, 64, 480, 256}, beige) > 0.4;
  })) << "Ctrl+Right did not turn the window";
  vemo_.key("ctrl+Left");
  ASSERT_TRUE(vemo_.waitFor(homeTiles)) << "Ctrl+Left did not turn back to portrait";
  ASSERT_TRUE(vemo_.waitForStill());

  // Ctrl+Shift+A shows the accounts screen: Facebook's row, after Delicious and Twitter, has its
  // blue log-in button. Done closes it.
  auto accounts = [](const ScreenImage& s) {
    return fraction(s, {215, 178, 80, 12}, [](const Rgb& p) { return near(p, 67, 96, 156, 30); }) >
           0.3;
  };
  EXPECT_FALSE(accounts(vemo_.capture()));
  vemo_.key("ctrl+shift+a");
  EXPECT_TRUE(vemo_.waitFor(accounts)) << "no accounts screen";
  ASSERT_TRUE(vemo_.waitForStill());
  vemo_.click(287, 42);  // Done
  EXPECT_TRUE(vemo_.waitFor(homeTiles)) << "Done did not close the accounts screen";
}

// Negative control: with a home feed that has no stories the home check must fail, so that its
// passing means the stories showed. (An empty VEMO_DATA_DIR proves nothing: every file not found
// there is taken from the source tree.)
TEST_F(WindowEndToEnd, HomeCheckFailsWithoutStories) {
  ASSERT_FALSE(copySite(home_.path()).empty());
  std::string feed = testing_support::readFile(home_ / "sample-site/Home.rss");
  const size_t first = feed.find("<item>"), last = feed.rfind("</item>") + 7;
  testing_support::writeFile(home_ / "sample-site/Home.rss", feed.erase(first, last - first));
  ASSERT_NO_FATAL_FAILURE(vemo_.start());
  ScreenImage shown;
  EXPECT_FALSE(vemo_.waitFor(homeTiles, &shown, 8)) << "the home check passed with no stories";
  EXPECT_FALSE(articlePage(shown));
}

// An alert over the article page: the live web view would paint over it, so the window shows the
// page's picture under the alert instead of leaving an empty hole.
TEST_F(WindowEndToEnd, AlertOverTheArticleShowsThePage) {
  const std::filesystem::path lead = copySite(home_.path());
  ASSERT_FALSE(lead.empty());
  // A while after it loaded, the page goes to a loopback port nothing listens on: the load
  // fails, the article stays and the reader says so in an alert.
  std::string page = testing_support::readFile(lead);
  page.insert(page.rfind("</body>"),
              "<script>setTimeout(function() { location.href = "
              "'http://127.0.0.1:" +
                  std::to_string(testing_support::closedPort()) + "/'; }, 5000);</script>");
  testing_support::writeFile(lead, page);
  ASSERT_NO_FATAL_FAILURE(vemo_.start());
  ASSERT_TRUE(vemo_.openLead());
  vemo_.click(296, 40);  // the full-article button
  EXPECT_TRUE(vemo_.waitFor([](const ScreenImage& s) {
    return articleIn(s, {0, 100, 320, 60}) && alertShown(s);
  })) << "no alert over the article's picture";
}

// Shares the lead story by mail with the sandbox as the mail server: the share button, "Email"
// on the sheet, the To field, Send; the sandbox's mail sink has the message.
TEST_F(WindowEndToEnd, SharesTheLeadStoryByMailIntoTheSandbox) {
  const std::string errors = (home_ / "stderr.txt").string();
  ASSERT_NO_FATAL_FAILURE(vemo_.start({"--services", "sandbox"}, errors));
  ASSERT_TRUE(vemo_.openLead());
  const std::string said = testing_support::readFile(errors), at = "sandbox at http://127.0.0.1:";
  ASSERT_NE(said.find(at), std::string::npos) << said;
  httplib::Client sandbox("127.0.0.1", std::atoi(said.c_str() + said.find(at) + at.size()));
  ASSERT_TRUE(vemo_.clickAndSettle(27, 458)) << "no share sheet";
  ASSERT_TRUE(vemo_.clickAndSettle(160, 277)) << "no composer";  // "Email", the sheet's first
  vemo_.click(200, 82);                                          // the To field
  output("xdotool type --delay 20 ann@vemo.vn");
  vemo_.click(289, 42);  // Send
  EXPECT_TRUE(eventually([&] {
    auto mail = sandbox.Get("/_sandbox/mail");
    return mail && mail->body.find("\"to\":[\"ann@vemo.vn\"]") != std::string::npos;
  }));
  EXPECT_TRUE(vemo_.waitFor(leadReader)) << "the composer did not close after sending";
}

// Against a slow site the window stays alive: it shows its frame and a spinning indicator at
// once, repaints when resized, and drops a click made while the feed is on its way.
TEST_F(WindowEndToEnd, StaysLiveWhileTheHomeFeedDownloads) {
  DemoSite demo;
  ASSERT_TRUE(demo.start());
  testing_support::LoopbackServer slow;  // the demo site, its home feed 4 seconds late
  slow.server().Get(".*", [&demo](const httplib::Request& request, httplib::Response& response) {
    if (request.path == "/Home.rss") std::this_thread::sleep_for(std::chrono::seconds(4));
    auto got = httplib::Client(demo.baseUrl()).Get(request.path);
    response.status = got ? got->status : 502;
    if (got) response.set_content(got->body, got->get_header_value("Content-Type"));
  });
  slow.start();
  ASSERT_NO_FATAL_FAILURE(vemo_.start({"--site", slow.url()}));

  // The frame with nothing in it yet: its red title, an empty beige content area; the status
  // bar's network activity indicator right of "Vemo" turns.
  auto emptyHome = [](const ScreenImage& s) {
    return fraction(s, {130, 30, 60, 24}, deepRed) > 0.03 &&
           fraction(s, {0, 70, 320, 390}, beige) > 0.95;
  };
  const Area indicator{39, 3, 14, 14};
  ScreenImage first;
  ASSERT_TRUE(vemo_.waitFor(emptyHome, &first, 3)) << "no frame before the home feed";
  EXPECT_GT(fraction(first, indicator, [](const Rgb& p) { return p.r + p.g + p.b < 360; }), 0.1)
      << "no activity indicator";
  EXPECT_TRUE(vemo_.waitFor(
      [&](const ScreenImage& s) { return emptyHome(s) && changedIn(first, s, indicator) > 0.02; },
      nullptr, 1))
      << "the activity indicator does not spin";

  vemo_.click(20, 42);  // the category menu button, while the feed is still on its way
  vemo_.xdotool("windowsize", "400 560");
  EXPECT_TRUE(vemo_.waitFor(
      [](const ScreenImage& s) {
        return s.width == 400 && fraction(s, {0, 70, 320, 390}, beige) > 0.95 &&
               fraction(s, {330, 100, 60, 400}, [](const Rgb& p) { return p.r > 200; }) > 0.95;
      },
      nullptr, 3))
      << "the window did not repaint after the resize";
  vemo_.xdotool("windowsize", "320 480");
  ASSERT_TRUE(vemo_.waitFor(homeTiles)) << "the home feed never arrived";
  EXPECT_TRUE(staysHome(vemo_, 2)) << "the click made during the download was acted on";
}

// A saved story dragged by its handle in the window moves: the pointer's motion reaches the
// table (whose own tests cover its editing). The store is read back with `vemo saved`.
TEST_F(WindowEndToEnd, SavedStoryDraggedByItsHandleMoves) {
  std::vector<ItemPtr> saved;
  for (const char* title : {"Alpha", "Beta", "Gamma"})
    saved.push_back(testing_support::storyAt(std::string("http://127.0.0.1:9/") + title, title));
  ASSERT_TRUE(Utilities().setBookmarkItem(saved));
  ASSERT_NO_FATAL_FAILURE(vemo_.start());
  ASSERT_TRUE(vemo_.waitFor(homeTiles));
  ASSERT_TRUE(vemo_.clickAndSettle(94, 42));   // saved stories: rows Gamma, Beta, Alpha
  ASSERT_TRUE(vemo_.clickAndSettle(296, 40));  // edit
  // Beta, the second row (rows are 60 points high from y 64), by its handle to the top; the
  // drag's pauses give the table its motion events one at a time.
  std::string drag = "304 154 mousedown 1";
  for (int y : {130, 90, 80})
    drag += " sleep 0.2 mousemove --window " + vemo_.id() + " 304 " + std::to_string(y);
  vemo_.xdotool("mousemove --window", drag + " sleep 0.2 mouseup 1");
  EXPECT_TRUE(eventually([] {
    const std::string text = output(VEMO_PATH " saved");
    return text.find("Alpha") < text.find("Gamma") && text.find("Gamma") < text.find("Beta");
  })) << output(VEMO_PATH " saved");
}

}  // namespace
