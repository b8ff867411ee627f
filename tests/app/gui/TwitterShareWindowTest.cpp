// Tweeting a story in the window (run under xvfb-run): the share sheet's Twitter, the sandbox's
// authorisation page in the real WebKit view, its "Allow", the compose screen, Send. The sandbox
// runs in this process, so its record of requests is read directly.
#include <gtest/gtest.h>

#include "app/sandbox/ServiceSandbox.h"
#include "sharing/config/SHKServiceConfig.h"
#include "tests/app/gui/WindowProgram.h"

namespace {

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

using TwitterShareWindow = WindowTest;

// The story's link and title are longer than a tweet: the counter starts red, the person writes
// a shorter status and sends it.
TEST_F(TwitterShareWindow, TweetsAStoryThroughTheAuthorisationPage) {
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  // The program and the sandbox's provider (in this process) agree on keys and callback; this
  // process's configuration is put back at the end.
  struct Restore {
    SHKServiceConfig saved = SHKServiceConfig::shared();
    ~Restore() { SHKServiceConfig::shared() = saved; }
  } restore;
  const std::string settings =
      "[SHKTwitter]\nconsumer_key = wk\nconsumer_secret = wsecret\n"
      "callback = " +
      sandbox.baseUrl() + "/SHKTwitter/callback/\n";
  std::vector<std::string> errors, warnings;
  ASSERT_TRUE(SHKServiceConfig::shared().read(settings, "vemo.conf", errors, warnings));
  testing_support::writeFile(home_ / "config/vemo/vemo.conf", settings);
  auto posted = [&sandbox] {
    for (auto& r : sandbox.log().requests())
      if (r.path == "/1/statuses/update.json") return r.body;
    return std::string();
  };

  ASSERT_NO_FATAL_FAILURE(vemo_.start({"--services", sandbox.baseUrl()}));
  ASSERT_TRUE(vemo_.openLead());
  ASSERT_TRUE(vemo_.clickAndSettle(27, 458)) << "no share sheet";
  vemo_.click(160, 329);  // "Twitter", the sheet's second button
  ASSERT_TRUE(vemo_.waitFor(authorisationPage, nullptr, 40)) << "no authorisation page";
  vemo_.click(33, 118);  // Allow
  ASSERT_TRUE(vemo_.waitFor([](const ScreenImage& s) { return composeScreen(s, true); }))
      << "no compose screen with the too long story in it";

  vemo_.click(160, 200);
  vemo_.key("ctrl+a");
  vemo_.type("Tweet from the window");
  EXPECT_TRUE(vemo_.waitFor([](const ScreenImage& s) { return composeScreen(s, false); }))
      << "the counter did not follow the typing";
  vemo_.click(260, 42);  // Send to Twitter
  EXPECT_TRUE(eventually([&] { return posted() == "status=Tweet%20from%20the%20window"; }))
      << posted();
  EXPECT_TRUE(vemo_.waitFor(leadReader)) << "the compose screen did not close";
}

}  // namespace
