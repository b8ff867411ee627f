#include "sharing/services/SHKDelicious.h"

#include <gtest/gtest.h>

#include "platform/store/UserDefaults.h"
#include "tests/sharing/core/OAuthFlowTest.h"
#include "tests/support/OAuthlibCheck.h"

namespace {

class SHKDeliciousTest : public OAuthFlowTest {
 protected:
  void SetUp() override {
    OAuthFlowTest::SetUp();
    useService("SHKDelicious",
               "[SHKDelicious]\nconsumer_key = dk\nconsumer_secret = d secret\ncallback = " +
                   sandbox_.baseUrl() + "/SHKDelicious/api/cb\n",
               [] { return std::make_shared<SHKDelicious>(); });
    // Straight to the send: the share form is the base's and tested there.
    store::UserDefaults::standard().setBool(true, "SHKDelicious_shouldAutoShare");
  }

  std::shared_ptr<SHKSharer> share() {
    auto item = SHKItem::URL(*net::Url::parse("http://news.example/a%20b?x=1"), "A title");
    item->setTags("one two");
    return SHKSharer::shareItem("SHKDelicious", item);
  }
  std::string oauthlib() {
    return testing_support::oauthlibCheck(sandbox_.baseUrl(), "dk=d%20secret",
                                          "/SHKDelicious/oauth/oauth/v2/request_auth/tokens");
  }
  // Logs in through the page and saves one bookmark.
  void loginAndSave() {
    auto sharer = share();
    ASSERT_TRUE(passPage());
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFinishNotification});
    outcomes_.clear();
    runFor(3);
  }
};

}  // namespace

TEST_F(SHKDeliciousTest, LogsInWithVerifierAndSavesParametersInOrder) {
  loginAndSave();
  auto tokenCalls = calls("/oauth/v2/get_token");
  ASSERT_EQ(tokenCalls.size(), 1u);
  auto saves = calls("/v2/posts/add");
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].query,
            "description=A%20title&extended=&shared=no&tags=one%20two&"
            "url=http%3A%2F%2Fnews.example%2Fa%20b%3Fx%3D1");
  EXPECT_TRUE(SHK::getAuthValueForKey("sessionHandle", "SHKDelicious"));
  EXPECT_TRUE(calls("/cb").empty()) << "the callback is never loaded";
  EXPECT_EQ(oauthlib(), "checked 3\n");
}

TEST_F(SHKDeliciousTest, ExpiredTokenIsRenewedOnceAndTheBookmarkSentAgain) {
  loginAndSave();
  client_->Post("/SHKDelicious/oauth/oauth/v2/request_auth/expire");
  auto sharer = share();
  ASSERT_TRUE(waitForEnd());
  EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFinishNotification});
  auto renewals = calls("/oauth/v2/get_token");
  ASSERT_EQ(renewals.size(), 2u);
  EXPECT_EQ(calls("/v2/posts/add").size(), 3u) << "saved, expired, saved again";
  EXPECT_EQ(oauthlib(), "checked 6\n");
  runFor(3);

  // A service that keeps answering token_expired: one renewal, then the failure.
  sandbox_.handle("SHKDelicious", "api", "GET", "/v2/posts/add",
                  [](const SandboxRequest&, httplib::Response& res) {
                    res.status = 401;
                    res.set_content("oauth_problem=token_expired", "text/plain");
                  });
  outcomes_.clear();
  auto again = share();
  ASSERT_TRUE(waitForEnd());
  runFor(1);
  EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFailNotification});
  EXPECT_EQ(calls("/oauth/v2/get_token").size(), 3u);
  EXPECT_EQ(alert(), "Error: There was a problem saving to Delicious.");
  EXPECT_EQ(oauthlib(), "checked 9\n") << "the refused calls were signed right";
  runFor(3);
}

// Answers that are not the quoted result code done are failures.
TEST_F(SHKDeliciousTest, AnswersWithoutDoneFail) {
  loginAndSave();
  for (const char* body : {"<result code=\"something went wrong\" />", "done", ""}) {
    sandbox_.handle("SHKDelicious", "api", "GET", "/v2/posts/add",
                    [body](const SandboxRequest&, httplib::Response& res) {
                      res.set_content(body, "text/xml");
                    });
    outcomes_.clear();
    auto sharer = share();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFailNotification}) << body;
    runFor(3);
    ui::AlertStack::shared().reset();
  }
  EXPECT_EQ(oauthlib(), "checked 6\n");
}
