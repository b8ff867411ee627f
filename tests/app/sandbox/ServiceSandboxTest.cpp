#include "app/sandbox/ServiceSandbox.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "tests/support/ChildProgram.h"

namespace {

std::string decode64(const std::string& text) {
  std::string out;
  int value = 0, bits = 0;
  for (char c : text) {
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* at = std::strchr(alphabet, c);
    if (c == '=' || !at) break;
    value = (value << 6) | static_cast<int>(at - alphabet);
    if ((bits += 6) >= 8) out += static_cast<char>((value >> (bits -= 8)) & 0xFF);
  }
  return out;
}

class ServiceSandboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sandbox.handle("SHKInstapaper", "api", "POST", "/api/authenticate",
                   [](const SandboxRequest& r, httplib::Response& res) {
                     res.status = r.body.find("password=wrong") == std::string::npos ? 200 : 403;
                   });
    ASSERT_TRUE(sandbox.start());
    client = std::make_unique<httplib::Client>("127.0.0.1", sandbox.port());
  }

  nlohmann::json recorded() {
    auto res = client->Get("/_sandbox/requests");
    EXPECT_TRUE(res && res->status == 200);
    return res ? nlohmann::json::parse(res->body) : nlohmann::json();
  }

  ServiceSandbox sandbox;
  std::unique_ptr<httplib::Client> client;
};

}  // namespace

TEST_F(ServiceSandboxTest, RecordsEachRequestUnderItsServiceAndHost) {
  const std::string form = "username=me&password=" + std::string(10000, 'p');
  // A "?" is legal inside a query; it is kept as sent.
  auto ok = client->Post("/SHKInstapaper/api/api/authenticate?x=%20y?&z=a?b", {{"X-Thing", "1"}},
                         form, "application/x-www-form-urlencoded");
  auto refused = client->Post("/SHKInstapaper/api/api/authenticate", "password=wrong",
                              "application/x-www-form-urlencoded");
  auto other = client->Post("/SHKTumblr/api/api/nothing", "email=a", "text/plain");
  auto stray = client->Get("/SHKNothing/api/x");
  ASSERT_TRUE(ok && refused && other && stray);
  EXPECT_EQ(ok->status, 200);
  EXPECT_EQ(refused->status, 403);
  EXPECT_EQ(other->status, 404) << "Tumblr has no such endpoint";
  EXPECT_EQ(stray->status, 404);

  nlohmann::json all = recorded();
  ASSERT_EQ(all.size(), 4u);
  const struct {
    const char *service, *host, *method, *path, *query;
  } expected[] = {
      {"SHKInstapaper", "api", "POST", "/api/authenticate", "x=%20y?&z=a?b"},
      {"SHKInstapaper", "api", "POST", "/api/authenticate", ""},
      {"SHKTumblr", "api", "POST", "/api/nothing", ""},
      {"", "", "GET", "/SHKNothing/api/x", ""},
  };
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i]["service"], expected[i].service) << i;
    EXPECT_EQ(all[i]["host"], expected[i].host) << i;
    EXPECT_EQ(all[i]["method"], expected[i].method) << i;
    EXPECT_EQ(all[i]["path"], expected[i].path) << i;
    EXPECT_EQ(all[i]["query"], expected[i].query) << i;
  }
  EXPECT_EQ(decode64(all[0]["body_base64"]), form);
  EXPECT_NE(std::find(all[0]["headers"].begin(), all[0]["headers"].end(),
                      nlohmann::json::array({"X-Thing", "1"})),
            all[0]["headers"].end());

  auto page = client->Get("/_sandbox/");
  ASSERT_TRUE(page);
  EXPECT_NE(page->body.find("SHKTumblr / api"), std::string::npos);
  EXPECT_NE(page->body.find("email=a"), std::string::npos);

  auto forgotten = client->Delete("/_sandbox/requests");
  ASSERT_TRUE(forgotten);
  EXPECT_EQ(forgotten->status, 204);
  EXPECT_TRUE(recorded().empty());
}

TEST_F(ServiceSandboxTest, RefusesHugeAndMalformedRequestsAndKeepsServing) {
  auto huge = client->Post("/SHKTumblr/api/api/write",
                           std::string(ServiceSandbox::kMaxBodyBytes + 1, 'x'), "text/plain");
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->status, 413);

  for (const char* request :
       {"NOT A REQUEST\r\n\r\n", "POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"}) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(sandbox.port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_GT(::write(fd, request, std::strlen(request)), 0);
    char answer[64] = {};
    ssize_t got = ::read(fd, answer, sizeof answer - 1);
    ::close(fd);
    ASSERT_GT(got, 0) << request;
    const std::string status(answer, 12);
    EXPECT_TRUE(status == "HTTP/1.1 400" || status == "HTTP/1.1 413") << request << answer;
  }
  EXPECT_TRUE(recorded().empty());
  auto after = client->Post("/SHKInstapaper/api/api/authenticate", "a=b", "text/plain");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200);
}

TEST(RequestLog, ForgetsTheOldestPastItsBounds) {
  RequestLog log(3, 10);
  auto withBody = [](std::string body) {
    SandboxRequest request;
    request.body = std::move(body);
    return request;
  };
  for (const char* body : {"1", "2", "3", "4"}) log.add(withBody(body));
  auto kept = log.requests();
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept.front().body, "2");
  log.add(withBody("123456789"));
  kept = log.requests();
  ASSERT_EQ(kept.size(), 2u) << "ten bytes at most";
  EXPECT_EQ(kept.front().body, "4");
  SandboxRequest binary;
  binary.method = "<b>&";
  binary.body = std::string("\x01\xff", 2);
  log.add(binary);
  std::string page = log.html();
  EXPECT_NE(page.find("&lt;b&gt;&amp;"), std::string::npos);
  EXPECT_NE(page.find("(2 bytes of binary data)"), std::string::npos);
}

TEST(SandboxProgram, AnnouncesItsAddressFirstAndStopsOnATerm) {
  testing_support::ChildProgram sandbox(VEMO_SANDBOX_PATH);
  const std::string& line = sandbox.firstLine();
  const std::string prefix = "listening on http://127.0.0.1:";
  ASSERT_TRUE(line.starts_with(prefix)) << line;
  httplib::Client client("127.0.0.1", std::stoi(line.substr(prefix.size())));
  auto res = client.Get("/SHKPinboard/api/v1/nothing");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 404);
  int status = sandbox.stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
