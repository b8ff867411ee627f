#include "sharing/services/SHKPinboard.h"

#include "app/sandbox/BasicAuth.h"
#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKPinboardTest : public WebServiceTest {
 protected:
  // Logs out, starts a share and types the login.
  void logInWith(const std::string& user, const std::string& password) {
    startOver();
    SHK::logoutOfService("SHKPinboard");
    SHKSharer::shareItem("SHKPinboard", SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
    submitForm({user, password});
    waitFor(
        [&] { return !outcomes_.empty() || SHK::getAuthValueForKey("password", "SHKPinboard"); });
  }
};

// A login counts only on status 200 with a body other than "401 Forbidden"; anything else, and
// no answer at all, is one relogin failure and stores nothing.
TEST_F(SHKPinboardTest, LoginAcceptedOnlyOnAGoodAnswer) {
  const std::pair<int, std::string> cases[] = {{200, "<posts user=\"ann\"></posts>"},
                                               {200, "401 Forbidden"},
                                               {401, "401 Forbidden"},
                                               {500, ""},
                                               {201, ""},
                                               {0, "no answer"}};
  for (const auto& [status, body] : cases) {
    SCOPED_TRACE(body);
    sandbox_.handle("SHKPinboard", "api", "GET", "/v1/posts/get",
                    [&](const SandboxRequest&, httplib::Response& r) {
                      r.status = status;
                      r.set_content(body, "text/plain");
                    });
    if (!status) sandbox_.stop();
    logInWith("ann", "pw");
    bool stored = status == 200 && body != "401 Forbidden";
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKPinboard").has_value(), stored);
    EXPECT_EQ(endings(), stored ? Strings{} : Strings{kFail});
    EXPECT_EQ(alertText(), stored ? "" : "Error: Could not authenticate you. Please relogin.");
  }
}

// Credentials are address components: "@", ":", "/" and "?" in them cannot move the request to
// another host, and reach the service whole.
TEST_F(SHKPinboardTest, CredentialsStayInTheUserInformation) {
  logInWith("a@n/n", "p@host.example/?#x");
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
  const struct {
    std::string link, password, shared, ending, alert;
  } cases[] = {
      {"http://a.b/x?y=1&z", "pw", "1", kFinish, ""},
      {"http://a.b/?sandbox-status=500", "pw", "0", kFail,
       "Error: There was an error saving to Pinboard"},
      {"http://a.b/", "wrong", "0", kFail, "Error: Could not authenticate you. Please relogin."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    startOver();
    logIn("SHKPinboard", "ann", c.password);
    store::UserDefaults::standard().setBool(true, "SHKPinboard_shouldAutoShare");
    auto item = SHKItem::URL(*net::Url::parse(c.link), "Tom & \"Jerry\" = 100%?");
    item->setTags("a b,c&d=e");
    item->setText("note: /x");
    item->setCustomValue(c.shared, "shared");
    SHKSharer::shareItem("SHKPinboard", item);
    waitForOutcome();
    EXPECT_EQ(endings(), Strings{c.ending});
    EXPECT_EQ(alertText(), c.alert);
    EXPECT_EQ(form() != nullptr, c.password == "wrong") << "the login again";
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path + "?" + requests()[0].query,
              "/v1/posts/add?url=" + net::escapeComponent(c.link) +
                  "&description=Tom%20%26%20%22Jerry%22%20=%20100%25?&tags=a%20b,c%26d=e"
                  "&extended=note:%20/x&shared=" +
                  (c.shared == "1" ? "yes" : "no"));
  }
}

}  // namespace
