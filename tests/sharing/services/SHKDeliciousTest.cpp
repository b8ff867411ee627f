#include "sharing/services/SHKDelicious.h"

#include "platform/store/UserDefaults.h"
#include "tests/sharing/core/SandboxSharingTest.h"
#include "tests/support/OAuthlibCheck.h"

namespace {

class SHKDeliciousTest : public SandboxSharingTest {
 protected:
  void SetUp() override {
    SandboxSharingTest::SetUp();
    useService("SHKDelicious",
               "[SHKDelicious]\nconsumer_key = dk\nconsumer_secret = d secret\ncallback = " +
                   sandbox_.baseUrl() + "/SHKDelicious/api/cb\n",
               [] { return std::make_shared<SHKDelicious>(); });
    // Straight to the send: the share form is the base's and tested there.
    store::UserDefaults::standard().setBool(true, "SHKDelicious_shouldAutoShare");
  }

  // Sends one bookmark and waits for its end, after the login page when `page`.
  void save(bool page = false) {
    outcomes_.clear();
    auto item = SHKItem::URL(*net::Url::parse("http://news.example/a%20b?x=1"), "A title");
    item->setTags("one two");
    auto sharer = SHKSharer::shareItem("SHKDelicious", item);
    if (page) {
      ASSERT_TRUE(passPage());
    }
    ASSERT_TRUE(waitForEnd());
    runFor(3);
  }
};

}  // namespace

// The login passes the verifier; the parameters go in order. An expired token is renewed once
// with the session handle and the bookmark sent again; a service that keeps answering
// token_expired gets one renewal, then the failure.
TEST_F(SHKDeliciousTest, LogsInSavesAndRenewsAnExpiredTokenOnce) {
  save(true);
  EXPECT_EQ(endings(), Strings{kFinish});
  auto saves = calls("/v2/posts/add");
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].query,
            "description=A%20title&extended=&shared=no&tags=one%20two&"
            "url=http%3A%2F%2Fnews.example%2Fa%20b%3Fx%3D1");

  client_->Post("/SHKDelicious/oauth/oauth/v2/request_auth/expire");
  save();
  EXPECT_EQ(endings(), Strings{kFinish});
  EXPECT_EQ(calls("/oauth/v2/get_token").size(), 2u);
  EXPECT_EQ(calls("/v2/posts/add").size(), 3u) << "saved, expired, saved again";

  answer("SHKDelicious", "api GET /v2/posts/add", 401, "oauth_problem=token_expired");
  save();
  EXPECT_EQ(endings(), Strings{kFail});
  EXPECT_EQ(calls("/oauth/v2/get_token").size(), 3u);
  // Every call, the refused ones too, was signed right.
  EXPECT_EQ(testing_support::oauthlibCheck(sandbox_.baseUrl(), "dk=d%20secret",
                                           "/SHKDelicious/oauth/oauth/v2/request_auth/tokens"),
            "checked 9\n");
}

// Answers that are not the quoted result code done are failures.
TEST_F(SHKDeliciousTest, AnswersWithoutDoneFail) {
  SHK::setAuthValue("k", "accessKey", "SHKDelicious");
  SHK::setAuthValue("s", "accessSecret", "SHKDelicious");
  for (const char* body : {"<result code=\"something went wrong\" />", "done", ""}) {
    answer("SHKDelicious", "api GET /v2/posts/add", 200, body);
    save();
    EXPECT_EQ(endings(), Strings{kFail}) << body;
    ui::AlertStack::shared().reset();
  }
}
