#include "sharing/services/SHKInstapaper.h"

#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKInstapaperTest : public WebServiceTest {};

TEST_F(SHKInstapaperTest, LoginAnswers) {
  const std::pair<int, std::string> cases[] = {
      {200, ""},
      {403, "Login Error: Sorry, Instapaper did not accept your credentials. Please try again."},
      {500, "Login Error: Sorry, Instapaper encountered an error. Please try again."},
  };
  for (const auto& [status, message] : cases) {
    SHK::logoutOfService("SHKInstapaper");
    startOver();
    sandbox_.handle("SHKInstapaper", "api", "POST", "/api/authenticate",
                    [&](const SandboxRequest&, httplib::Response& r) { r.status = status; });
    auto sharer =
        SHKSharer::shareItem("SHKInstapaper", SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
    submitForm({"ann", "p@ss word&x"});
    // An accepted login goes on to send, which ends too before the next case.
    waitFor([&] { return !alertText().empty() || !endings().empty(); });
    ASSERT_GE(requests().size(), 1u) << status;
    EXPECT_EQ(requests()[0].body, "username=ann&password=p@ss%20word%26x");
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper").has_value(), message.empty());
    EXPECT_EQ(alertText(), message) << status;
  }
}

TEST_F(SHKInstapaperTest, SendRequestAndResults) {
  const struct {
    std::string link, password, ending, alert;
  } cases[] = {
      {"http://a.b/x y", "secret", kFinish, ""},
      {"http://a.b/?sandbox-status=201", "secret", kFinish, ""},
      {"http://a.b/", "wrong", kFail,
       "Error: Sorry, Instapaper did not accept your credentials. Please try again."},
      {"http://a.b/?sandbox-status=500", "secret", kFail,
       "Error: The service encountered an error. Please try again later."},
      {"http://a.b/?sandbox-status=404", "secret", kFail,
       "Error: There was a problem saving to Instapaper."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    startOver();
    logIn("SHKInstapaper", "ann@x", c.password);
    auto item = SHKItem::URL(*net::Url::parse(net::escapeAddress(c.link)));
    SHKSharer::shareItem("SHKInstapaper", item);
    waitForOutcome();
    EXPECT_EQ(endings(), Strings{c.ending});
    EXPECT_EQ(alertText(), c.alert);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path + " " + requests()[0].body,
              "/api/add url=" + net::escapeComponent(item->url()->absoluteString()) +
                  "&username=ann@x&password=" + c.password);
    EXPECT_EQ(header(requests()[0], "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(form() != nullptr, c.password == "wrong") << "the login again";
  }
  // A link's reserved characters are escaped in the body, so its query is not the body's.
  EXPECT_TRUE(requests()[0].body.starts_with("url=http%3A%2F%2Fa.b%2F%3Fsandbox-status%3D404&"));
}

}  // namespace
