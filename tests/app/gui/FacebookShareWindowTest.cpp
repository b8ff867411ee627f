// Shares a story to Facebook in the real window against the sandbox, as a person would: the
// share sheet, the log-in panel, the publishing page with the story filled in, Publish; then a
// second share that goes straight to the publishing page and is skipped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/sandbox/ServiceSandbox.h"
#include "tests/app/gui/WindowProgram.h"
#include "tests/support/TempDir.h"

namespace {

// The blue title bar across the panel's top and its page's white below.
bool panel(const ScreenImage& s) {
  return fraction(s, {30, 31, 240, 3}, [](const Rgb& p) { return near(p, 109, 132, 179, 12); }) >
             0.5 &&
         fraction(s, {40, 300, 240, 100}, white) > 0.9;
}
// The publishing page's message box holds text.
bool prefilled(const ScreenImage& s) {
  return panel(s) && fraction(s, {35, 110, 230, 70}, dark) > 0.02;
}
// The grey "Saved!" notice over the middle of the story.
bool savedNotice(const ScreenImage& s) {
  return fraction(s, {90, 165, 140, 150}, [](const Rgb& p) { return near(p, 113, 109, 103, 20); }) >
         0.5;
}
bool leadReader(const ScreenImage& s) {
  return fraction(s, {10, 398, 300, 24}, deepRed) > 0.5;
}

class FacebookShareWindow : public testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
    ASSERT_TRUE(sandbox_.start());
  }
  // Bodies of the `method` requests for `path` that the sandbox received.
  std::vector<std::string> bodies(const std::string& path, const std::string& method = "POST") {
    std::vector<std::string> found;
    for (const SandboxRequest& r : sandbox_.log().requests()) {
      if (r.path == path && r.method == method) found.push_back(r.body);
    }
    return found;
  }
  bool waitForRequests(const std::string& path, size_t count, const std::string& method = "POST") {
    for (int i = 0; i < 200 && bodies(path, method).size() < count; ++i) usleep(100000);
    return bodies(path, method).size() >= count;
  }
  // Share button, then "Facebook" on the sheet, whose rows stand on its Cancel button. Without
  // a mail server the sheet has Twitter, Facebook; then Facebook, Twitter: the last used leads.
  void shareToFacebook(int rowsAboveCancel) {
    ASSERT_TRUE(clickAndSettle(program_, 27, 458)) << "no share sheet";
    program_.click(160, 433 - 52 * rowsAboveCancel);
  }

  testing_support::TempDir home_;
  // A fresh home: no saved Facebook session, the sheet's default services.
  ScopedEnv configHome_{"XDG_CONFIG_HOME", (home_.path() / "config").string()};
  ScopedEnv dataHome_{"XDG_DATA_HOME", (home_.path() / "data").string()};
  ServiceSandbox sandbox_;
  Program program_;
};

TEST_F(FacebookShareWindow, LogsInPublishesTheStoryAndSkipsTheNextOne) {
  program_.start({"--services", sandbox_.baseUrl()});
  ScreenImage last;
  ASSERT_TRUE(program_.waitFor(
      [](const ScreenImage& s) {
        return fraction(s, {0, 64, 320, 100}, dark) > 0.02;
      },
      nullptr, 40));
  program_.click(60, 150);  // the lead story's tile
  ASSERT_TRUE(program_.waitFor(leadReader, &last)) << "the tile did not open the lead reader";

  ASSERT_NO_FATAL_FAILURE(shareToFacebook(1));
  ASSERT_TRUE(waitForRequests("/login.php", 1, "GET")) << "no log-in page requested";
  ASSERT_TRUE(program_.waitFor(panel, &last, 40)) << "no log-in panel";
  ASSERT_TRUE(waitForStill(program_, 1));  // the page painted its fields
  program_.click(170, 80);
  // The arrow keys move in the page's field, not to another story under the panel.
  program_.type("ann@example.tst");
  program_.key("Left Left");
  program_.type("e");
  program_.click(195, 117);
  program_.type("secret");
  program_.click(56, 155);  // Log in

  ASSERT_TRUE(waitForRequests("/connect/prompt_feed.php", 1));
  EXPECT_NE(bodies("/login.php").front().find("email=ann%40example.test&"), std::string::npos)
      << bodies("/login.php").front();
  ASSERT_TRUE(program_.waitFor(prefilled, &last)) << "no publishing page with the story";
  program_.click(60, 270);  // Publish
  EXPECT_TRUE(program_.waitFor(savedNotice, &last, 5)) << "the share did not report its outcome";
  ASSERT_TRUE(waitForRequests("/connect/publish.php", 1));
  const std::string published = bodies("/connect/publish.php").front();
  EXPECT_NE(published.find("feedform_user_message="), std::string::npos) << published;
  EXPECT_NE(published.find("quoc-hoi-thong-qua-ke-hoach-phat-trien"), std::string::npos)
      << published;
  EXPECT_NE(published.find("sandbox-session-"), std::string::npos) << published;
  EXPECT_TRUE(
      program_.waitFor([](const ScreenImage& s) { return !panel(s) && leadReader(s); }, &last))
      << "the panel stayed after publishing";

  // The saved session skips the log-in; Skip cancels without publishing.
  ASSERT_TRUE(program_.waitFor([](const ScreenImage& s) { return !savedNotice(s); }));
  ASSERT_TRUE(waitForStill(program_));
  ASSERT_NO_FATAL_FAILURE(shareToFacebook(2));
  ASSERT_TRUE(waitForRequests("/connect/prompt_feed.php", 2));
  ASSERT_TRUE(program_.waitFor(prefilled, &last)) << "no second publishing page";
  EXPECT_EQ(bodies("/login.php", "GET").size(), 1u);
  program_.click(113, 270);  // Skip
  EXPECT_TRUE(
      program_.waitFor([](const ScreenImage& s) { return !panel(s) && leadReader(s); }, &last))
      << "the panel stayed after skipping";
  // The window stays after the pages and their script engines went away. Nothing shows that
  // they went, so this watches the window for a while.
  EXPECT_FALSE(program_.waitFor([](const ScreenImage& s) { return !leadReader(s); }, &last, 5))
      << "the window is gone";
  EXPECT_EQ(bodies("/connect/publish.php").size(), 1u);

  // Escape closes the next publishing page as its close button does.
  ASSERT_NO_FATAL_FAILURE(shareToFacebook(2));
  ASSERT_TRUE(waitForRequests("/connect/prompt_feed.php", 3));
  ASSERT_TRUE(program_.waitFor(prefilled, &last)) << "no third publishing page";
  program_.key("Escape");
  EXPECT_TRUE(
      program_.waitFor([](const ScreenImage& s) { return !panel(s) && leadReader(s); }, &last))
      << "Escape did not close the panel";
  EXPECT_EQ(bodies("/connect/publish.php").size(), 1u);
}

}  // namespace

// Ctrl+Shift+P offers the lead reader's picture; Facebook asks for the upload permission and
// then uploads it.
TEST_F(FacebookShareWindow, UploadsTheLeadReadersPictureFromTheShareMenu) {
  program_.start({"--services", sandbox_.baseUrl()});
  ASSERT_TRUE(program_.waitFor(
      [](const ScreenImage& s) {
        return fraction(s, {0, 64, 320, 100}, dark) > 0.02;
      },
      nullptr, 40));
  program_.click(60, 150);  // the lead story's tile
  ASSERT_TRUE(program_.waitFor(leadReader)) << "the tile did not open the lead reader";
  // The menu's white rows; the key does nothing until the picture has arrived.
  auto menu = [](const ScreenImage& s) { return fraction(s, {0, 240, 320, 140}, white) > 0.6; };
  bool shown = false;
  for (int i = 0; i < 20 && !shown; ++i) {
    program_.key("ctrl+shift+p");
    shown = program_.waitFor(menu, nullptr, 1);
  }
  ASSERT_TRUE(shown) << "no share menu for the picture";
  // Copy and Save to Photo Album (no mail server here), then Facebook, the first service.
  program_.click(100, 218);
  ASSERT_TRUE(waitForRequests("/login.php", 1, "GET")) << "no log-in page requested";
  ASSERT_TRUE(program_.waitFor(panel, nullptr, 40)) << "no log-in panel";
  ASSERT_TRUE(waitForStill(program_, 1));  // the page painted its fields
  program_.click(170, 80);
  program_.type("ann@example.test");
  program_.click(195, 117);
  program_.type("secret");
  program_.click(56, 155);  // Log in
  ASSERT_TRUE(waitForRequests("/connect/prompt_permission.php", 1, "GET"));
  ASSERT_TRUE(program_.waitFor(panel)) << "no permission page";
  ASSERT_TRUE(waitForStill(program_, 1));
  program_.click(48, 133);  // Allow
  auto uploaded = [&] {
    for (const std::string& body : bodies("/restserver.php"))
      if (body.find("facebook.photos.upload") != std::string::npos &&
          body.find("\xff\xd8\xff") != std::string::npos)
        return true;
    return false;
  };
  for (int i = 0; i < 200 && !uploaded(); ++i) usleep(100000);
  EXPECT_TRUE(uploaded()) << "no picture uploaded";
  EXPECT_TRUE(program_.waitFor([](const ScreenImage& s) { return !panel(s) && leadReader(s); }))
      << "the panel stayed after the upload";
  program_.stop();
}
