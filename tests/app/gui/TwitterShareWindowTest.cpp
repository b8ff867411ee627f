// Tweeting a story in the window (run under xvfb-run): the share sheet's Twitter, the sandbox's
// authorisation page in the real WebKit view, its "Allow", the compose screen, Send. The sandbox
// runs in this process, so its record of requests is read directly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "sharing/config/SHKServiceConfig.h"
#include "tests/app/gui/WindowProgram.h"
#include "tests/support/OAuthlibCheck.h"
#include "tests/support/TempDir.h"

namespace {

bool leadReader(const ScreenImage& s) {
  return fraction(s, {10, 398, 300, 24}, deepRed) > 0.5;
}
// The blue-grey navigation bar of a screen shown over the reader.
bool navigationBar(const ScreenImage& s) {
  return fraction(s, {80, 24, 160, 36}, [](const Rgb& p) { return p.b > p.r + 20; }) > 0.8;
}
// The sandbox's page: a line of text and the light grey "Allow" button on white.
bool authorisationPage(const ScreenImage& s) {
  return navigationBar(s) && fraction(s, {8, 72, 230, 18}, dark) > 0.05 &&
         fraction(s, {12, 112, 40, 12}, [](const Rgb& p) { return near(p, 244, 244, 244, 6); }) >
             0.5 &&
         fraction(s, {0, 150, 320, 300}, white) > 0.95;
}
// The compose screen: the blue "Send to Twitter" button and the counter in red (`over`) or black.
bool composeScreen(const ScreenImage& s, bool over) {
  auto red = [](const Rgb& p) { return p.r > 200 && p.g < 170 && p.b < 170; };
  const Area counter{240, 455, 70, 18};
  return navigationBar(s) &&
         fraction(s, {215, 30, 95, 24}, [](const Rgb& p) { return p.b > 180 && p.r < 120; }) >
             0.5 &&
         (over ? fraction(s, counter, red) > 0.02
               : fraction(s, counter, red) == 0 && fraction(s, counter, dark) > 0.02);
}

// The story's link and title are longer than a tweet: the counter starts red, the person writes
// a shorter status and sends it. The redirect to the callback (an address on the sandbox, so a
// request that got through would be recorded) is caught in the window.
TEST(TwitterShareWindow, TweetsAStoryThroughTheAuthorisationPage) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  // The program and the sandbox's provider (in this process) agree on keys and callback; this
  // process's configuration is put back at the end.
  struct Restore {
    SHKServiceConfig saved = SHKServiceConfig::shared();
    ~Restore() { SHKServiceConfig::shared() = saved; }
  } restore;
  const std::string settings = "[SHKTwitter]\nconsumer_key = wk\nconsumer_secret = wsecret\n" +
                               std::string("callback = ") + sandbox.baseUrl() +
                               "/SHKTwitter/callback/\n";
  std::vector<std::string> errors, warnings;
  ASSERT_TRUE(SHKServiceConfig::shared().read(settings, "vemo.conf", errors, warnings));
  std::filesystem::create_directories(home / "config/vemo");
  testing_support::writeFile(home / "config/vemo/vemo.conf", settings);
  auto calls = [&sandbox](const std::string& host, const std::string& path) {
    std::vector<SandboxRequest> found;
    for (auto& r : sandbox.log().requests()) {
      if (r.service == "SHKTwitter" && r.host == host && (path.empty() || r.path == path)) {
        found.push_back(r);
      }
    }
    return found;
  };

  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start({"--services", sandbox.baseUrl()}));
  ASSERT_TRUE(vemo.waitFor(
      [](const ScreenImage& s) {
        return fraction(s, {0, 64, 320, 396}, beige) > 0.4 && !alertShown(s);
      },
      nullptr, 40))
      << "the home screen did not show";
  vemo.click(60, 150);  // the lead story's tile
  ASSERT_TRUE(vemo.waitFor(leadReader)) << "the tile did not open the lead reader";
  ASSERT_TRUE(clickAndSettle(vemo, 27, 458)) << "no share sheet";
  vemo.click(160, 329);  // "Twitter", the sheet's second button

  ScreenImage shown;
  ASSERT_TRUE(vemo.waitFor(authorisationPage, &shown, 40))
      << "no authorisation page (text " << fraction(shown, {8, 72, 230, 18}, dark) << ")";
  ASSERT_EQ(calls("web", "/oauth/authorize").size(), 1u)
      << "the page did not come from the sandbox";
  vemo.click(33, 118);  // Allow

  bool composing =
      vemo.waitFor([](const ScreenImage& s) { return composeScreen(s, true); }, &shown);
  EXPECT_TRUE(calls("callback", "").empty()) << "the callback address was loaded";
  ASSERT_TRUE(composing) << "no compose screen with the too long story in it";
  EXPECT_EQ(calls("web", "/oauth/access_token").size(), 1u);

  vemo.click(160, 200);
  vemo.key("ctrl+a");
  vemo.type("Tweet from the window");
  EXPECT_TRUE(vemo.waitFor([](const ScreenImage& s) { return composeScreen(s, false); }))
      << "the counter did not follow the typing";
  vemo.click(260, 42);  // Send to Twitter

  std::vector<SandboxRequest> posted;
  for (int i = 0; i < 80 && posted.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    posted = calls("api", "/1/statuses/update.json");
  }
  ASSERT_EQ(posted.size(), 1u) << "no status update reached the sandbox";
  EXPECT_EQ(posted[0].body, "status=Tweet%20from%20the%20window");
  EXPECT_TRUE(vemo.waitFor(leadReader)) << "the compose screen did not close";
  EXPECT_EQ(testing_support::oauthlibCheck(sandbox.baseUrl(), "wk=wsecret",
                                           "/SHKTwitter/web/oauth/authorize/tokens"),
            "checked 3\n");
}

}  // namespace
