#include "sharing/services/SHKInstapaper.h"

#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKInstapaperTest : public WebServiceTest {};

// An accepted login goes on to send.
TEST_F(SHKInstapaperTest, LoginAnswers) {
  const std::pair<int, std::string> cases[] = {
      {200, "done"},
      {403,
       "none: Login Error: Sorry, Instapaper did not accept your credentials. Please try "
       "again. +form"},
      {500, "none: Login Error: Sorry, Instapaper encountered an error. Please try again. +form"},
  };
  for (const auto& [status, outcome] : cases) {
    answer("SHKInstapaper", "api", "POST", "/api/authenticate", status);
    logInWithForm("SHKInstapaper", "ann", "p@ss word&x");
    EXPECT_EQ(requests().at(0).body, "username=ann&password=p@ss%20word%26x");
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper").has_value(), status == 200);
    EXPECT_EQ(ending(), outcome) << status;
  }
}

TEST_F(SHKInstapaperTest, SendRequestAndResults) {
  const std::string refused =
      "Sorry, Instapaper did not accept your credentials. Please try again.";
  const struct {
    std::string link, password, outcome;
  } cases[] = {
      {"http://a.b/x y", "secret", "done"},
      {"http://a.b/?sandbox-status=201", "secret", "done"},
      {"http://a.b/", "wrong", "failed: Error: " + refused + " +form"},
      {"http://a.b/?sandbox-status=500", "secret",
       "failed: Error: The service encountered an error. Please try again later."},
      {"http://a.b/?sandbox-status=404", "secret",
       "failed: Error: There was a problem saving to Instapaper."},
  };
  for (const auto& c : cases) {
    auto item = SHKItem::URL(*net::Url::parse(net::escapeAddress(c.link)));
    shareLoggedIn("SHKInstapaper", item, "ann@x", c.password);
    EXPECT_EQ(ending(), c.outcome) << c.link;
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path + " " + requests()[0].body,
              "/api/add url=" + net::escapeComponent(item->url()->absoluteString()) +
                  "&username=ann@x&password=" + c.password);
    EXPECT_EQ(header(requests()[0], "Content-Type"), "application/x-www-form-urlencoded");
  }
  // A link's reserved characters are escaped in the body, so its query is not the body's.
  EXPECT_TRUE(requests()[0].body.starts_with("url=http%3A%2F%2Fa.b%2F%3Fsandbox-status%3D404&"));
}

}  // namespace
