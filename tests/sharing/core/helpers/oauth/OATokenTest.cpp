#include "sharing/core/helpers/oauth/OAToken.h"

#include <gtest/gtest.h>

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

}  // namespace
