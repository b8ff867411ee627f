#include "sharing/core/helpers/oauth/OAToken.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

TEST(OATokenTest, ReadsAResponseBody) {
  OAToken token = OAToken::fromHTTPResponseBody(
      "oauth_token=a%20b&oauth_token_secret=s%2Bt=u&user_id=42&oauth_session_handle=h&"
      "oauth_token=later&junk");
  EXPECT_EQ(token.key().value_or("") + "|" + token.secret().value_or("") + "|" +
                token.sessionHandle().value_or(""),
            "later|s+t=u|h");
  OAToken partial = OAToken::fromHTTPResponseBody("oauth_token=k");
  EXPECT_FALSE(partial.secret() || partial.sessionHandle());
  EXPECT_FALSE(OAToken::fromHTTPResponseBody("").hasKey());
}

// A token missing its secret leaves no secret behind, so nothing reads back.
TEST(OATokenTest, StoresInAndReadsFromUserDefaults) {
  testing_support::TempDir dir;
  EXPECT_EQ(OAToken("key 1", "secret 1").storeInUserDefaults("twitter", "SHK"), 0);
  auto back = OAToken::fromUserDefaults("twitter", "SHK");
  EXPECT_EQ(back ? *back->key() + "|" + *back->secret() : "", "key 1|secret 1");
  EXPECT_EQ(OAToken::fromUserDefaults("other", "SHK"), std::nullopt);
  OAToken::fromHTTPResponseBody("oauth_token=k").storeInUserDefaults("twitter", "SHK");
  EXPECT_EQ(OAToken::fromUserDefaults("twitter", "SHK"), std::nullopt);
}

}  // namespace
