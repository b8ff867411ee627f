#include "sharing/services/SHKInstapaper.h"

#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKInstapaperTest : public WebServiceTest {};

TEST_F(SHKInstapaperTest, LoginAnswers) {
  struct Case {
    int status;
    bool stored;
    std::string alert;
  } cases[] = {
      {200, true, ""},
      {201, true, ""},
      {403, false,
       "Login Error: Sorry, Instapaper did not accept your credentials. Please try again."},
      {500, false, "Login Error: Sorry, Instapaper encountered an error. Please try again."},
  };
  for (const auto& c : cases) {
    SHK::removeAuthValueForKey("username", "SHKInstapaper");
    SHK::removeAuthValueForKey("password", "SHKInstapaper");
    startOver();
    sandbox_.handle("SHKInstapaper", "api", "POST", "/api/authenticate",
                    [&](const SandboxRequest&, httplib::Response& r) { r.status = c.status; });
    auto sharer =
        SHKSharer::shareItem("SHKInstapaper", SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
    submitForm({"ann", "p@ss word&x"});
    // An accepted login goes on to send, which ends too before the next case.
    waitFor([&] { return !alert().empty() || !endings().empty(); });
    ASSERT_GE(requests().size(), 1u) << c.status;
    const SandboxRequest login = requests().front();
    EXPECT_EQ(login.method + " " + login.path + " " + login.body,
              "POST /api/authenticate username=ann&password=p@ss%20word%26x");
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKInstapaper").has_value(), c.stored)
        << c.status;
    EXPECT_EQ(alert(), c.alert) << c.status;
  }
}

TEST_F(SHKInstapaperTest, SendRequestAndResults) {
  struct Case {
    std::string link;
    std::string password;
    std::string ending;
    std::string alert;
    bool loginAgain;
  } cases[] = {
      {"http://a.b/x y", "secret", SHKSharer::kSendDidFinishNotification, "", false},
      {"http://a.b/?sandbox-status=201", "secret", SHKSharer::kSendDidFinishNotification, "",
       false},
      {"http://a.b/", "wrong", SHKSharer::kSendDidFailNotification,
       "Error: Sorry, Instapaper did not accept your credentials. Please try again.", true},
      {"http://a.b/?sandbox-status=500", "secret", SHKSharer::kSendDidFailNotification,
       "Error: The service encountered an error. Please try again later.", false},
      {"http://a.b/?sandbox-status=404", "secret", SHKSharer::kSendDidFailNotification,
       "Error: There was a problem saving to Instapaper.", false},
  };
  for (const auto& c : cases) {
    startOver();
    logIn("SHKInstapaper", "ann@x", c.password);
    auto item = SHKItem::URL(*net::Url::parse(net::escapeAddress(c.link)));
    SHKSharer::shareItem("SHKInstapaper", item);
    waitForOutcome();
    EXPECT_EQ(endings(), std::vector<std::string>{c.ending}) << c.link;
    EXPECT_EQ(alert(), c.alert) << c.link;
    ASSERT_EQ(requests().size(), 1u) << c.link;
    EXPECT_EQ(requests()[0].path, "/api/add");
    EXPECT_EQ(requests()[0].body, "url=" + net::escapeComponent(item->url()->absoluteString()) +
                                      "&username=ann@x&password=" + c.password);
    EXPECT_EQ(header(requests()[0], "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(form() != nullptr, c.loginAgain) << c.link;
  }
  // A link's reserved characters are escaped in the body, so its query is not the body's.
  EXPECT_EQ(requests()[0].body.substr(0, 39), "url=http%3A%2F%2Fa.b%2F%3Fsandbox-statu");
}

}  // namespace
