// Requests signed here are checked by oauthlib (python3-oauthlib), an independent implementation.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/base/RunLoop.h"
#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"
#include "sharing/core/helpers/oauth/OADataFetcher.h"
#include "sharing/core/helpers/oauth/OAPlaintextSignatureProvider.h"

namespace {

// The verifier script, run by the system's Python, on a port it picks and prints.
class OAuthVerifier {
 public:
  OAuthVerifier() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::close(fds[0]);
      ::close(fds[1]);
      ::execl("/usr/bin/python3", "python3", OAUTH_VERIFIER_SCRIPT, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    FILE* out = ::fdopen(fds[0], "r");
    char line[32] = {0};
    if (out && std::fgets(line, sizeof line, out)) port_ = std::atoi(line);
    if (out) std::fclose(out);
  }
  ~OAuthVerifier() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

class OAuthPeerVerificationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { verifier = new OAuthVerifier(); }
  static void TearDownTestSuite() { delete verifier; }
  void SetUp() override { ASSERT_GT(verifier->port(), 0) << "the oauthlib verifier did not start"; }

  std::shared_ptr<OAMutableURLRequest> request(
      const std::string& path, bool withToken,
      std::shared_ptr<const OASignatureProviding> provider = {}) {
    std::optional<OAToken> token;
    if (withToken) token = OAToken("token-key", "token secret/2");
    return std::make_shared<OAMutableURLRequest>(*net::Url::parse(verifier->url(path)),
                                                 OAConsumer("consumer-key", "consumer secret&1"),
                                                 token, std::string("Photos"), provider);
  }

  // Sends synchronously; returns the status, or -1 when the exchange failed.
  static int statusOf(std::shared_ptr<OAMutableURLRequest> request) {
    int status = -1;
    OADataFetcher::fetchDataWithRequest(std::move(request),
                                        {[&](const OAServiceTicket& ticket, const std::string&) {
                                           status = ticket.response()->statusCode();
                                         },
                                         nullptr});
    return status;
  }

  static OAuthVerifier* verifier;
};

OAuthVerifier* OAuthPeerVerificationTest::verifier = nullptr;

TEST_F(OAuthPeerVerificationTest, AcceptsGetRequestsWithQueryParameters) {
  for (bool withToken : {false, true}) {
    auto get = request("/photos", withToken);
    get->setParameters({{"file", "vacation.jpg"},
                        {"size", "original"},
                        {"q", "a b&c=d/e~f+g"},
                        {"a b", "1"},
                        {"a", "1"},
                        {"a", "0"},
                        {"a2", "x"},
                        {"a-", "y"}});
    EXPECT_EQ(statusOf(get), 200) << "token: " << withToken;
  }
  // Parameters written straight into the address, not through setParameters.
  auto raw = request("/photos?z=1&y=%E1%BA%BF&flag=", true);
  EXPECT_EQ(statusOf(raw), 200);
}

TEST_F(OAuthPeerVerificationTest, AcceptsFormPostsWithNonAsciiValuesAndExtraOAuthParameters) {
  for (bool withToken : {false, true}) {
    auto post = request("/statuses/update.xml", withToken);
    post->setHttpMethod("POST");
    post->setParameters({{"status", "Tin mới: Hà Nội – 100% 🙂"}, {"lang", "vi"}});
    post->setOAuthParameterName(std::string("oauth_callback"),
                                std::string("http://callback.example/cb?x=1&y=2"));
    post->setOAuthParameterName(std::string("oauth_verifier"), std::string("ver ifier"));
    EXPECT_EQ(statusOf(post), 200) << "token: " << withToken;
  }
}

TEST_F(OAuthPeerVerificationTest, AcceptsPlaintextAndMultipartRequests) {
  auto plaintext = request("/p", true, std::make_shared<OAPlaintextSignatureProvider>());
  plaintext->setParameters({{"x", "1"}});
  EXPECT_EQ(statusOf(plaintext), 200);

  auto multipart = request("/upload", true);
  multipart->setHttpMethod("POST");
  multipart->setValue("Content-Type", "multipart/form-data; boundary=B");
  multipart->setHttpBody("--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--B--\r\n");
  EXPECT_EQ(statusOf(multipart), 200);
}

TEST_F(OAuthPeerVerificationTest, RejectsARequestAlteredAfterSigning) {
  auto get = request("/photos", true);
  get->setParameters({{"size", "original"}});
  get->prepare();
  get->setParameters({{"size", "large"}});
  EXPECT_EQ(statusOf(get), 401);

  auto post = request("/update", false);
  post->setHttpMethod("POST");
  post->setParameters({{"status", "one"}});
  post->prepare();
  post->setHttpBody("status=two");
  EXPECT_EQ(statusOf(post), 401);

  auto wrongSecret = std::make_shared<OAMutableURLRequest>(
      *net::Url::parse(verifier->url("/p")), OAConsumer("consumer-key", "not the secret"));
  EXPECT_EQ(statusOf(wrongSecret), 401);
}

TEST_F(OAuthPeerVerificationTest, AsynchronousFetcherSendsAcceptedRequests) {
  int finished = 0;
  std::vector<bool> outcomes;
  for (bool withToken : {false, true}) {
    auto post = request("/async", withToken);
    post->setHttpMethod("POST");
    post->setParameters({{"text", "Việt Nam"}});
    OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
        post, {[&](const OAServiceTicket& ticket, const std::string& data) {
                 outcomes.push_back(ticket.didSucceed() && data == "valid");
                 ++finished;
               },
               [&](const OAServiceTicket&, const std::optional<net::Error>&) { ++finished; }})
        ->start();
  }
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return finished == 2; }));
  EXPECT_EQ(outcomes, (std::vector<bool>{true, true}));
}

}  // namespace
