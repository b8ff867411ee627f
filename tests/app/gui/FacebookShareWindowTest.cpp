// Shares a story to Facebook in the real window against the sandbox, as a person would.
#include <gtest/gtest.h>

#include "tests/app/gui/WindowProgram.h"

namespace {

bool prefilled(const ScreenImage& s) {
  return facebookPanel(s) && fraction(s, {35, 110, 230, 70}, dark) > 0.02;
}
// The grey "Saved!" notice over the middle of the story.
bool savedNotice(const ScreenImage& s) {
  return fraction(s, {90, 165, 140, 150}, [](const Rgb& p) { return near(p, 113, 109, 103, 20); }) >
         0.5;
}
bool panelGone(const ScreenImage& s) {
  return !facebookPanel(s) && leadReader(s);
}

using FacebookShareWindow = WindowTest;

TEST_F(FacebookShareWindow, LogsInPublishesTheStoryAndClosesTheNextOne) {
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  ASSERT_NO_FATAL_FAILURE(vemo_.start({"--services", sandbox.baseUrl()}));
  ASSERT_TRUE(vemo_.openLead());
  auto waitForRequests = [&](const char* path, size_t count, const char* method = "POST") {
    return eventually([&] { return bodies(sandbox, path, method).size() >= count; });
  };
  // Share button, then "Facebook" on the sheet, whose rows stand on its Cancel button. Without
  // a mail server the sheet has Twitter, Facebook; then Facebook, Twitter: the last used leads.
  // The publishing page comes up for the `nth` time.
  auto shareToFacebook = [&](int rowsAboveCancel, size_t nth) {
    ASSERT_TRUE(vemo_.waitForStill());
    ASSERT_TRUE(vemo_.clickAndSettle(27, 458)) << "no share sheet";
    vemo_.click(160, 433 - 52 * rowsAboveCancel);
    if (nth == 1) {
      ASSERT_TRUE(waitForRequests("/login.php", 1, "GET")) << "no log-in page requested";
      ASSERT_NO_FATAL_FAILURE(vemo_.logInOnFacebook());
    }
    ASSERT_TRUE(waitForRequests("/connect/prompt_feed.php", nth));
    ASSERT_TRUE(vemo_.waitFor(prefilled)) << "no publishing page with the story";
  };

  ASSERT_NO_FATAL_FAILURE(shareToFacebook(1, 1));
  EXPECT_NE(bodies(sandbox, "/login.php", "POST").front().find("email=ann%40example.test&"),
            std::string::npos)
      << bodies(sandbox, "/login.php", "POST").front();
  vemo_.click(60, 270);  // Publish
  EXPECT_TRUE(vemo_.waitFor(savedNotice, nullptr, 5)) << "the share did not report its outcome";
  ASSERT_TRUE(waitForRequests("/connect/publish.php", 1));
  EXPECT_NE(bodies(sandbox, "/connect/publish.php")
                .front()
                .find("quoc-hoi-thong-qua-ke-hoach-phat-trien"),
            std::string::npos);
  EXPECT_TRUE(vemo_.waitFor(panelGone)) << "the panel stayed after publishing";

  // The saved session skips the log-in; Escape closes the next publishing page as its close
  // button does, without publishing. The window stays after the pages and their script engines
  // went away: nothing shows that they went, so this watches the window for a while.
  ASSERT_TRUE(vemo_.waitFor([](const ScreenImage& s) { return !savedNotice(s); }));
  ASSERT_NO_FATAL_FAILURE(shareToFacebook(2, 2));
  EXPECT_EQ(bodies(sandbox, "/login.php", "GET").size(), 1u);
  vemo_.key("Escape");
  EXPECT_TRUE(vemo_.waitFor(panelGone)) << "Escape did not close the panel";
  EXPECT_FALSE(vemo_.waitFor([](const ScreenImage& s) { return !leadReader(s); }, nullptr, 5))
      << "the window is gone";
  EXPECT_EQ(bodies(sandbox, "/connect/publish.php").size(), 1u);

  // Ctrl+Shift+P offers the lead reader's picture in a menu of white rows.
  ASSERT_TRUE(vemo_.waitForStill());
  auto menu = [](const ScreenImage& s) { return fraction(s, {0, 240, 320, 140}, white) > 0.6; };
  EXPECT_FALSE(menu(vemo_.capture()));
  EXPECT_TRUE(eventually([&] {
    vemo_.key("ctrl+shift+p");
    return vemo_.waitFor(menu, nullptr, 1);
  })) << "no share menu for the picture";
}

}  // namespace
