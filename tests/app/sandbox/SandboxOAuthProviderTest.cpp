#include "app/sandbox/SandboxOAuthProvider.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/wait.h>

#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/helpers/oauth/OADataFetcher.h"
#include "sharing/core/helpers/oauth/OAPlaintextSignatureProvider.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/OAuthlibCheck.h"
#include "tests/support/TempDir.h"

namespace {

// The sandbox with known consumer keys; calls are signed by the client's OAuth code and every
// recorded one is checked again by oauthlib at the end of each test.
class SandboxOAuthProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> errors, warnings;
    ASSERT_TRUE(SHKServiceConfig::shared().read(
        "[SHKDelicious]\nconsumer_key = dk\nconsumer_secret = d secret\n"
        "callback = http://news.invalid/oauthcallback\n"
        "[SHKTwitter]\nconsumer_key = tk\nconsumer_secret = t&secret\n"
        "callback = http://news.invalid\n",
        "test.conf", errors, warnings));
    ASSERT_TRUE(sandbox.start());
  }

  std::string url(const std::string& path) const {
    return (base.empty() ? sandbox.baseUrl() : base) + path;
  }

  // The status and body of the answer.
  std::pair<int, std::string> signedCall(const std::string& method, const std::string& path,
                                         OAConsumer consumer, std::optional<OAToken> token,
                                         std::map<std::string, std::string> oauthExtras = {},
                                         bool plaintext = false) {
    auto request = std::make_shared<OAMutableURLRequest>(
        *net::Url::parse(url(path)), consumer, token, std::nullopt,
        plaintext ? std::make_shared<OAPlaintextSignatureProvider>() : nullptr);
    request->setHttpMethod(method);
    for (const auto& [name, value] : oauthExtras) request->setOAuthParameterName(name, value);
    std::pair<int, std::string> answer{-1, ""};
    OADataFetcher::fetchDataWithRequest(
        request, {[&](const OAServiceTicket& ticket, const std::string& data) {
                    answer = {ticket.response()->statusCode(), data};
                  },
                  nullptr});
    return answer;
  }

  // Request token, the page's "Allow", and the redirect's query.
  std::pair<OAToken, std::string> authorizedRequestToken() {
    const std::string base = "/SHKDelicious/oauth";
    auto [status, body] = signedCall("POST", base + "/oauth/v2/get_request_token", delicious, {},
                                     {{"oauth_callback", "http://cb.invalid/oauthcallback"}});
    EXPECT_EQ(status, 200) << body;
    OAToken request = OAToken::fromHTTPResponseBody(body);
    httplib::Client client("127.0.0.1", sandbox.port());
    auto page = client.Get(base + "/oauth/v2/request_auth?oauth_token=" + *request.key());
    EXPECT_TRUE(page && page->body.find("value=\"Allow\"") != std::string::npos);
    auto allowed = client.Post(base + "/oauth/v2/request_auth", "oauth_token=" + *request.key(),
                               "application/x-www-form-urlencoded");
    EXPECT_TRUE(allowed && allowed->status == 302);
    std::string location = allowed ? allowed->get_header_value("Location") : "";
    EXPECT_TRUE(location.starts_with(
        "http://cb.invalid/oauthcallback?oauth_token=" + *request.key() + "&oauth_verifier="))
        << location;
    return {request, location.substr(location.find("oauth_verifier=") + 15)};
  }

  ServiceSandbox sandbox;
  std::string base;  // another sandbox the calls go to, when set
  const OAConsumer delicious{"dk", "d secret"};
};

}  // namespace

// Every wrong step is refused, and nothing is handed out for it.
TEST_F(SandboxOAuthProviderTest, RefusesWrongCalls) {
  auto [request, verifier] = authorizedRequestToken();
  const std::map<std::string, std::string> verified = {{"oauth_verifier", verifier}};
  const struct {
    const char* what;
    OAConsumer consumer;
    OAToken token;
    std::map<std::string, std::string> extras;
    const char* problem;
  } cases[] = {
      {"wrong consumer secret", {"dk", "nope"}, request, verified, "signature_invalid"},
      {"unknown consumer", {"zz", "d secret"}, request, verified, "consumer_key_unknown"},
      {"wrong token secret", delicious, {*request.key(), "x"}, verified, "signature_invalid"},
      {"no verifier", delicious, request, {}, "verifier_invalid"},
      {"unknown token", delicious, {"nope", "x"}, {}, "token_rejected"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        signedCall("POST", "/SHKDelicious/oauth/oauth/v2/get_token", c.consumer, c.token, c.extras),
        std::pair(401, "oauth_problem=" + std::string(c.problem)))
        << c.what;
  }
  auto unauthorized =
      signedCall("POST", "/SHKTwitter/web/oauth/request_token", {"tk", "t&secret"}, {});
  OAToken twitterRequest = OAToken::fromHTTPResponseBody(unauthorized.second);
  EXPECT_EQ(
      signedCall("POST", "/SHKTwitter/web/oauth/access_token", {"tk", "t&secret"}, twitterRequest)
          .second,
      "oauth_problem=permission_unknown")
      << "a request token the user never allowed";
  auto page = httplib::Client("127.0.0.1", sandbox.port())
                  .Get("/SHKTwitter/web/oauth/authorize?oauth_token=forged");
  EXPECT_TRUE(page && page->status == 400);
  // oauthlib refuses the same three signatures and the token nobody issued, and only those.
  std::string refused;
  for (int i = 0; i < 4; ++i) refused += "invalid POST /SHKDelicious/oauth/oauth/v2/get_token\n";
  EXPECT_EQ(testing_support::oauthlibCheck(sandbox.baseUrl(), "dk=d%20secret&tk=t%26secret",
                                           "/SHKDelicious/oauth/oauth/v2/request_auth/tokens,"
                                           "/SHKTwitter/web/oauth/authorize/tokens"),
            "checked 8\n" + refused);
}

TEST(SandboxOAuthProviderHeader, ReadsOAuthHeaders) {
  auto read = SandboxOAuthProvider::parseAuthorization(
      "OAuth realm=\"\", oauth_token=\"a+b\",oauth_nonce=\"n\"");
  ASSERT_TRUE(read);
  EXPECT_EQ((*read)["oauth_token"], "a+b");
  EXPECT_EQ(read->size(), 3u);
  for (const char* bad : {"", "Basic abc", "OAuth a=b", "OAuth a=\"b"}) {
    EXPECT_FALSE(SandboxOAuthProvider::parseAuthorization(bad)) << bad;
  }
}

// The stand-alone sandbox announces its address first, checks signatures with the keys of the
// user's vemo.conf (as the program that talks to it has them, not the compiled-in ones) and ends
// cleanly on a TERM.
TEST_F(SandboxOAuthProviderTest, ProgramTakesTheKeysOfTheConfigurationFile) {
  testing_support::TempDir home;
  std::filesystem::create_directories(home / "config/vemo");
  testing_support::writeFile(home / "config/vemo/vemo.conf",
                             "[SHKDelicious]\nconsumer_key = fk\nconsumer_secret = f secret\n");
  testing_support::ChildProgram program(VEMO_SANDBOX_PATH);
  const std::string& line = program.firstLine();
  ASSERT_TRUE(line.starts_with("listening on http://127.0.0.1:")) << line;
  base = line.substr(line.find("http://"));
  const std::pair<OAConsumer, int> cases[] = {
      {{"fk", "f secret"}, 200}, {{"fk", "d secret"}, 401}, {{"", ""}, 401}};
  for (const auto& [consumer, status] : cases) {
    EXPECT_EQ(signedCall("POST", "/SHKDelicious/oauth/oauth/v2/get_request_token", consumer, {},
                         {{"oauth_callback", "http://cb.invalid/"}}, true)
                  .first,
              status)
        << consumer.key();
  }
  const int status = program.stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
