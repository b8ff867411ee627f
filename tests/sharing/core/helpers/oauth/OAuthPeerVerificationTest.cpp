// Requests signed here are checked by oauthlib (python3-oauthlib), an independent implementation.
#include <gtest/gtest.h>

#include <string>

#include "sharing/core/helpers/oauth/OADataFetcher.h"
#include "sharing/core/helpers/oauth/OAPlaintextSignatureProvider.h"
#include "tests/support/ChildProgram.h"

namespace {

class OAuthPeerVerificationTest : public ::testing::Test {
 protected:
  // The verifier prints the loopback port it serves on.
  static void SetUpTestSuite() {
    verifier = new testing_support::ChildProgram(OAUTH_VERIFIER_SCRIPT);
  }
  static void TearDownTestSuite() { delete verifier; }
  void SetUp() override { ASSERT_FALSE(verifier->firstLine().empty()) << "no oauthlib verifier"; }

  static std::shared_ptr<OAMutableURLRequest> request(
      const std::string& path, bool withToken,
      std::shared_ptr<const OASignatureProviding> provider = {}) {
    std::optional<OAToken> token;
    if (withToken) token = OAToken("token-key", "token secret/2");
    return std::make_shared<OAMutableURLRequest>(*net::Url::parse(url(path)),
                                                 OAConsumer("consumer-key", "consumer secret&1"),
                                                 token, std::string("Photos"), provider);
  }
  static int statusOf(std::shared_ptr<OAMutableURLRequest> request) {
    int status = -1;
    OADataFetcher::fetchDataWithRequest(std::move(request),
                                        {[&](const OAServiceTicket& ticket, const std::string&) {
                                           status = ticket.response()->statusCode();
                                         },
                                         nullptr});
    return status;
  }

  static std::string url(const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(std::stoi(verifier->firstLine())) + path;
  }

  static inline testing_support::ChildProgram* verifier = nullptr;
};

// Each way of signing, with and without a token; a request altered after signing is refused.
TEST_F(OAuthPeerVerificationTest, AcceptsWhatItSignsAndRefusesAlteredRequests) {
  using Params = std::vector<OARequestParameter>;
  const Params awkward = {
      {"q", "a b&c=d/e~f+g"}, {"a b", "1"}, {"a", "1"}, {"a", "0"}, {"a2", "x"}, {"a-", "y"},
      {"size", "original"}};
  const char* multipart = "--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--B--\r\n";
  const struct {
    const char* name;
    std::string path;
    bool post, plaintext;
    int status;
    Params params;
    const char* alteredTo = nullptr;  // the body or query once signed
    const char* multipart = nullptr;  // a body of this type instead of the parameters
  } cases[] = {
      {"GET query", "/photos", false, false, 200, awkward},
      {"query in the address", "/photos?z=1&y=%E1%BA%BF&flag=", false, false, 200, {}},
      {"form", "/update", true, false, 200, {{"status", "Tin mới: Hà Nội – 100% 🙂"}}},
      {"PLAINTEXT", "/p", false, true, 200, {{"x", "1"}}},
      {"multipart", "/upload", true, false, 200, {}, nullptr, multipart},
      {"query altered", "/photos", false, false, 401, {{"size", "original"}}, "size=large"},
      {"body altered", "/update", true, false, 401, {{"status", "one"}}, "status=two"},
  };
  for (const auto& c : cases) {
    for (bool withToken : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (withToken ? " with a token" : ""));
      auto r = request(c.path, withToken,
                       c.plaintext ? std::make_shared<OAPlaintextSignatureProvider>() : nullptr);
      if (c.post) r->setHttpMethod("POST");
      if (!c.params.empty()) r->setParameters(c.params);
      if (c.multipart) {
        r->setValue("Content-Type", "multipart/form-data; boundary=B");
        r->setHttpBody(c.multipart);
      }
      r->setOAuthParameterName(std::string("oauth_callback"),
                               std::string("http://cb.example/?x=1&y"));
      r->setOAuthParameterName(std::string("oauth_verifier"), std::string("ver ifier"));
      if (c.alteredTo) {
        r->prepare();
        if (c.post)
          r->setHttpBody(c.alteredTo);
        else
          r->setParameters({{"size", "large"}});
      }
      EXPECT_EQ(statusOf(r), c.status);
    }
  }
  auto wrongSecret = std::make_shared<OAMutableURLRequest>(
      *net::Url::parse(url("/p")), OAConsumer("consumer-key", "not the secret"));
  EXPECT_EQ(statusOf(wrongSecret), 401);
}

}  // namespace
