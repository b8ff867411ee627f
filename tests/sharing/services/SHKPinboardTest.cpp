#include "sharing/services/SHKPinboard.h"

#include "app/sandbox/BasicAuth.h"
#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKPinboardTest : public WebServiceTest {
 protected:
  void reset() {
    startOver();
    SHK::removeAuthValueForKey("username", "SHKPinboard");
    SHK::removeAuthValueForKey("password", "SHKPinboard");
  }
  void startLogin() {
    SHKSharer::shareItem("SHKPinboard", SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
  }
};

// A login counts only on status 200 with a body other than "401 Forbidden"; anything else is
// one relogin failure and stores nothing.
TEST_F(SHKPinboardTest, LoginAcceptedOnlyOnAGoodAnswer) {
  struct Case {
    int status;
    std::string body;
    bool stored;
  } cases[] = {
      {200, "<posts user=\"ann\"></posts>", true},
      {200, "401 Forbidden", false},
      {401, "401 Forbidden", false},
      {500, "", false},
      {201, "", false},
  };
  for (const auto& c : cases) {
    reset();
    sandbox_.handle("SHKPinboard", "api", "GET", "/v1/posts/get",
                    [&](const SandboxRequest&, httplib::Response& r) {
                      r.status = c.status;
                      r.set_content(c.body, "text/plain");
                    });
    startLogin();
    submitForm({"ann", "pw"});
    waitFor(
        [&] { return !outcomes_.empty() || SHK::getAuthValueForKey("password", "SHKPinboard"); });
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKPinboard").has_value(), c.stored)
        << c.status << c.body;
    if (!c.stored) {
      EXPECT_EQ(endings(), std::vector<std::string>{SHKSharer::kSendDidFailNotification});
      EXPECT_EQ(alert(), "Error: Could not authenticate you. Please relogin.");
    }
  }
}

TEST_F(SHKPinboardTest, LoginWithoutAnAnswerStoresNothing) {
  reset();
  startLogin();
  sandbox_.stop();
  submitForm({"ann", "pw"});
  base::RunLoop::main().runUntilCondition([this] { return !outcomes_.empty(); }, 20);
  runFor(2);
  EXPECT_FALSE(SHK::getAuthValueForKey("password", "SHKPinboard"));
  EXPECT_EQ(endings(), std::vector<std::string>{SHKSharer::kSendDidFailNotification});
}

// Credentials are address components: "@", ":", "/" and "?" in them cannot move the request to
// another host, and reach the service whole.
TEST_F(SHKPinboardTest, CredentialsStayInTheUserInformation) {
  reset();
  startLogin();
  submitForm({"a@n/n", "p@host.example/?#x"});
  waitFor([&] { return !outcomes_.empty() || SHK::getAuthValueForKey("password", "SHKPinboard"); });
  ASSERT_GE(requests().size(), 1u);
  const SandboxRequest login = requests().front();
  EXPECT_EQ(login.method + " " + login.path + " " + login.body, "GET /v1/posts/get ");
  EXPECT_EQ(header(login, "Host"), "127.0.0.1:" + std::to_string(sandbox_.port()));
  auto auth = basicAuth(login);
  ASSERT_TRUE(auth);
  EXPECT_EQ(auth->first + "|" + auth->second, "a@n/n|p@host.example/?#x");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKPinboard"), "p@host.example/?#x");
}

TEST_F(SHKPinboardTest, SendQueryAndResults) {
  struct Case {
    std::string link, password, shared, ending, alert;
    bool loginAgain;
  } cases[] = {
      {"http://a.b/x?y=1&z", "pw", "1", SHKSharer::kSendDidFinishNotification, "", false},
      {"http://a.b/?sandbox-status=500", "pw", "0", SHKSharer::kSendDidFailNotification,
       "Error: There was an error saving to Pinboard", false},
      {"http://a.b/", "wrong", "0", SHKSharer::kSendDidFailNotification,
       "Error: Could not authenticate you. Please relogin.", true},
  };
  for (const auto& c : cases) {
    reset();
    logIn("SHKPinboard", "ann", c.password);
    store::UserDefaults::standard().setBool(true, "SHKPinboard_shouldAutoShare");
    auto item = SHKItem::URL(*net::Url::parse(c.link), "Tom & \"Jerry\" = 100%?");
    item->setTags("a b,c&d=e");
    item->setText("note: /x");
    item->setCustomValue(c.shared, "shared");
    SHKSharer::shareItem("SHKPinboard", item);
    waitForOutcome();
    EXPECT_EQ(endings(), std::vector<std::string>{c.ending}) << c.link;
    EXPECT_EQ(alert(), c.alert) << c.link;
    EXPECT_EQ(form() != nullptr, c.loginAgain) << c.link;
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path, "/v1/posts/add");
    EXPECT_EQ(requests()[0].query,
              "url=" + net::escapeComponent(c.link) +
                  "&description=Tom%20%26%20%22Jerry%22%20=%20100%25?&tags=a%20b,c%26d=e"
                  "&extended=note:%20/x&shared=" +
                  (c.shared == "1" ? "yes" : "no"));
  }
}

}  // namespace
