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

// Other orders, escapes, queries and bodies are checked against an independent implementation in
// OAuthPeerVerificationTest.
TEST(OAMutableURLRequestTest, SignsOAuthCoreAppendixAExample) {
  OAMutableURLRequest request(
      url("http://photos.example.net/photos?file=vacation.jpg&size=original"),
      OAConsumer("dpf43f3p2l4k3l03", "kd94hf93k423kf44"),
      OAToken("nnch734d00sl2jdk", "pfkkdhi9sl3r4s00"), std::nullopt, nullptr, "kllo9940pd9333jh",
      "1191242096");
  EXPECT_EQ(request.signatureBaseString(),
            "GET&http%3A%2F%2Fphotos.example.net%2Fphotos&file%3Dvacation.jpg%26"
            "oauth_consumer_key%3Ddpf43f3p2l4k3l03%26oauth_nonce%3Dkllo9940pd9333jh%26"
            "oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D1191242096%26"
            "oauth_token%3Dnnch734d00sl2jdk%26oauth_version%3D1.0%26size%3Doriginal");
  request.prepare();
  EXPECT_EQ(request.valueForHeaderField("Authorization"),
            "OAuth realm=\"\", oauth_consumer_key=\"dpf43f3p2l4k3l03\", "
            "oauth_token=\"nnch734d00sl2jdk\", oauth_signature_method=\"HMAC-SHA1\", "
            "oauth_signature=\"tR3%2BTy81lMeYAr%2FFid0kMTYa%2FWM%3D\", "
            "oauth_timestamp=\"1191242096\", oauth_nonce=\"kllo9940pd9333jh\", "
            "oauth_version=\"1.0\"");
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
