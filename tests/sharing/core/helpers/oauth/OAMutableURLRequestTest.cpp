#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

#include <gtest/gtest.h>

#include "sharing/core/helpers/oauth/OAPlaintextSignatureProvider.h"
#include "sharing/core/helpers/oauth/OAURLEncoding.h"

namespace {

net::Url url(const std::string& text) {
  return *net::Url::parse(text);
}

OAMutableURLRequest makeRequest(const std::string& address, std::optional<OAToken> token = {},
                                std::shared_ptr<const OASignatureProviding> provider = {}) {
  return OAMutableURLRequest(url(address), OAConsumer("ck", "cs"), std::move(token), std::nullopt,
                             std::move(provider), "NONCE", "1300000000");
}

// A token without a key (from a body without oauth_token) is no token: its missing secret signs
// as empty.
TEST(OAMutableURLRequestTest, TokenWithoutAKeyIsNoToken) {
  auto request = makeRequest("http://h/p", OAToken::fromHTTPResponseBody("oauth_token_secret=s"),
                             std::make_shared<OAPlaintextSignatureProvider>());
  request.prepare();
  EXPECT_EQ(request.signature(), "cs&s");
  EXPECT_EQ(request.valueForHeaderField("Authorization").find("oauth_token"), std::string::npos);
}

// Extra parameters follow the attributes by name, the last value of a name kept; a second
// prepare changes nothing.
TEST(OAMutableURLRequestTest, HeaderKeepsAttributeOrderWithExtraParametersByName) {
  auto request = makeRequest("http://h/p", OAToken("tok en", "ts"));
  request.setOAuthParameterName(std::string("oauth_verifier"), std::string("v1"));
  request.setOAuthParameterName(std::string("oauth_callback"), std::string("http://cb/x?y=1"));
  request.setOAuthParameterName(std::string("oauth_verifier"), std::string("v2"));
  // Without a name or a value there is nothing to send.
  request.setOAuthParameterName(std::nullopt, std::string("v"));
  request.setOAuthParameterName(std::string("oauth_x"), std::nullopt);
  request.prepare();
  const std::string header = request.valueForHeaderField("Authorization");
  EXPECT_TRUE(
      header.ends_with("oauth_version=\"1.0\", oauth_callback=\"http%3A%2F%2Fcb%2Fx%3Fy%3D1\", "
                       "oauth_verifier=\"v2\""))
      << header;
  request.setParameters({{"a", "2"}});
  request.setOAuthParameterName(std::string("oauth_callback"), std::string("oob"));
  request.prepare();
  EXPECT_EQ(request.valueForHeaderField("Authorization"), header);
}

// A fresh nonce and the time now in seconds, which the peers of the tests do not check.
TEST(OAMutableURLRequestTest, FreshNonceAndTimestamp) {
  OAMutableURLRequest request(url("http://h/p"), OAConsumer("k", "s"));
  EXPECT_NEAR(std::stoll(request.timestamp()), static_cast<long long>(std::time(nullptr)), 5);
  EXPECT_NE(OAMutableURLRequest(url("http://h/p"), OAConsumer("k", "s")).nonce(), request.nonce());
}

}  // namespace
