#include "sharing/services/SHKPinboard.h"

#include "app/sandbox/BasicAuth.h"
#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKPinboardTest : public WebServiceTest {};

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
    answer("SHKPinboard", "api", "GET", "/v1/posts/get", status, body);
    if (!status) sandbox_.stop();
    logInWithForm("SHKPinboard", "ann", "pw", "password");
    bool stored = status == 200 && body != "401 Forbidden";
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKPinboard").has_value(), stored) << body;
    EXPECT_EQ(ending(), stored ? "none +form"
                               : "failed: Error: Could not authenticate you. Please relogin. +form")
        << body;
  }
}

// Credentials are address components: "@", ":", "/" and "?" in them cannot move the request to
// another host, and reach the service whole.
TEST_F(SHKPinboardTest, CredentialsStayInTheUserInformation) {
  logInWithForm("SHKPinboard", "a@n/n", "p@host.example/?#x", "password");
  const SandboxRequest login = requests().at(0);
  EXPECT_EQ(login.method + " " + login.path + " " + login.body + "|" + header(login, "Host"),
            "GET /v1/posts/get |127.0.0.1:" + std::to_string(sandbox_.port()));
  auto auth = basicAuth(login);
  EXPECT_EQ(auth ? auth->first + "|" + auth->second : "", "a@n/n|p@host.example/?#x");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKPinboard"), "p@host.example/?#x");
}

TEST_F(SHKPinboardTest, SendQueryAndResults) {
  const struct {
    std::string link, password, shared, outcome;
  } cases[] = {
      {"http://a.b/x?y=1&z", "pw", "1", "done"},
      {"http://a.b/?sandbox-status=500", "pw", "0",
       "failed: Error: There was an error saving to Pinboard"},
      {"http://a.b/", "wrong", "0",
       "failed: Error: Could not authenticate you. Please relogin. +form"},
  };
  store::UserDefaults::standard().setBool(true, "SHKPinboard_shouldAutoShare");
  for (const auto& c : cases) {
    auto item = SHKItem::URL(*net::Url::parse(c.link), "Tom & \"Jerry\" = 100%?");
    item->setTags("a b,c&d=e");
    item->setText("note: /x");
    item->setCustomValue(c.shared, "shared");
    shareLoggedIn("SHKPinboard", item, "ann", c.password);
    EXPECT_EQ(ending(), c.outcome) << c.link;
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path + "?" + requests()[0].query,
              "/v1/posts/add?url=" + net::escapeComponent(c.link) +
                  "&description=Tom%20%26%20%22Jerry%22%20=%20100%25?&tags=a%20b,c%26d=e"
                  "&extended=note:%20/x&shared=" +
                  (c.shared == "1" ? "yes" : "no"));
  }
}

}  // namespace
