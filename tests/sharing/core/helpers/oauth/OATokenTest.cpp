#include "sharing/core/helpers/oauth/OAToken.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

TEST(OATokenTest, ReadsAResponseBody) {
  OAToken token = OAToken::fromHTTPResponseBody(
      "oauth_token=a%20b&oauth_token_secret=s%2Bt=u&user_id=42&oauth_session_handle=h&"
      "oauth_token=later&junk");
  EXPECT_EQ(token.key(), std::optional<std::string>("later"));
  EXPECT_EQ(token.secret(), std::optional<std::string>("s+t=u"));
  EXPECT_EQ(token.sessionHandle(), std::optional<std::string>("h"));

  OAToken partial = OAToken::fromHTTPResponseBody("oauth_token=k");
  EXPECT_EQ(partial.secret(), std::nullopt);
  EXPECT_EQ(partial.sessionHandle(), std::nullopt);
  EXPECT_FALSE(OAToken::fromHTTPResponseBody("").hasKey());
  EXPECT_FALSE(OAToken().hasKey());
}

TEST(OATokenTest, StoresInAndReadsFromUserDefaults) {
  testing_support::TempDir dir;
  EXPECT_EQ(OAToken::fromUserDefaults("twitter", "SHK"), std::nullopt);
  EXPECT_EQ(OAToken("key 1", "secret 1").storeInUserDefaults("twitter", "SHK"), 0);
  auto back = OAToken::fromUserDefaults("twitter", "SHK");
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->key(), std::optional<std::string>("key 1"));
  EXPECT_EQ(back->secret(), std::optional<std::string>("secret 1"));
  EXPECT_EQ(OAToken::fromUserDefaults("other", "SHK"), std::nullopt);

  // A token missing its secret leaves no secret behind, so nothing reads back.
  OAToken::fromHTTPResponseBody("oauth_token=k").storeInUserDefaults("twitter", "SHK");
  EXPECT_EQ(OAToken::fromUserDefaults("twitter", "SHK"), std::nullopt);
}

}  // namespace
