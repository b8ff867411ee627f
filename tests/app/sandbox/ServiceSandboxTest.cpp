#include "app/sandbox/ServiceSandbox.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>

namespace {

class ServiceSandboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sandbox.handle("SHKInstapaper", "api", "POST", "/api/authenticate",
                   [](const SandboxRequest& r, httplib::Response& res) {
                     res.status = r.body.find("password=wrong") == std::string::npos ? 200 : 403;
                   });
    ASSERT_TRUE(sandbox.start());
  }
  httplib::Client client() { return httplib::Client("127.0.0.1", sandbox.port()); }
  nlohmann::json recorded() {
    return nlohmann::json::parse(client().Get("/_sandbox/requests")->body);
  }

  ServiceSandbox sandbox;
};

}  // namespace

TEST_F(ServiceSandboxTest, RecordsEachRequestUnderItsServiceAndHost) {
  // A "?" is legal inside a query; it is kept as sent.
  const struct {
    std::string path, body;
    int status;
    const char* record;  // service, host, method, path and query as recorded
  } cases[] = {
      {"/SHKInstapaper/api/api/authenticate?x=%20y?&z=a?b", "username=me", 200,
       "SHKInstapaper|api|POST|/api/authenticate|x=%20y?&z=a?b|"},
      {"/SHKTumblr/api/api/nothing", "email=a", 404, "SHKTumblr|api|POST|/api/nothing||"},
      {"/SHKNothing/api/x", "", 404, "||GET|/SHKNothing/api/x||"},
  };
  for (const auto& c : cases) {
    auto res = c.body.empty() ? client().Get(c.path) : client().Post(c.path, c.body, "text/plain");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, c.status) << c.path;
  }
  nlohmann::json all = recorded();
  ASSERT_EQ(all.size(), std::size(cases));
  for (size_t i = 0; i < all.size(); ++i) {
    std::string record;
    for (const char* key : {"service", "host", "method", "path", "query"})
      record += all[i][key].get<std::string>() + "|";
    EXPECT_EQ(record, cases[i].record);
  }
  EXPECT_NE(client().Get("/_sandbox/")->body.find("SHKTumblr / api"), std::string::npos);
  EXPECT_EQ(client().Delete("/_sandbox/requests")->status, 204);
  EXPECT_TRUE(recorded().empty());
}

TEST_F(ServiceSandboxTest, RefusesHugeAndMalformedRequestsAndKeepsServing) {
  EXPECT_EQ(client()
                .Post("/SHKTumblr/api/api/write",
                      std::string(ServiceSandbox::kMaxBodyBytes + 1, 'x'), "text/plain")
                ->status,
            413);
  for (const char* request :
       {"NOT A REQUEST\r\n\r\n", "POST /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"}) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{
        AF_INET, htons(static_cast<uint16_t>(sandbox.port())), {htonl(INADDR_LOOPBACK)}, {}};
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_GT(::write(fd, request, std::strlen(request)), 0);
    char answer[13] = {};
    ASSERT_EQ(::read(fd, answer, 12), 12) << request;
    ::close(fd);
    EXPECT_TRUE(answer == std::string("HTTP/1.1 400") || answer == std::string("HTTP/1.1 413"))
        << request << answer;
  }
  EXPECT_TRUE(recorded().empty());
  EXPECT_EQ(client().Post("/SHKInstapaper/api/api/authenticate", "a=b", "text/plain")->status, 200);
}

TEST(RequestLog, ForgetsTheOldestPastItsBounds) {
  RequestLog log(3, 10);  // three requests, ten bytes of bodies
  auto add = [&log](std::string body, std::string method = "GET") {
    SandboxRequest request;
    request.method = std::move(method);
    request.body = std::move(body);
    log.add(request);
    std::string bodies;
    for (const auto& kept : log.requests()) bodies += kept.body + ",";
    return bodies;
  };
  for (const char* body : {"1", "2", "3"}) add(body);
  EXPECT_EQ(add("4"), "2,3,4,");
  EXPECT_EQ(add("123456789"), "4,123456789,");
  add(std::string("\x01\xff", 2), "<b>&");
  EXPECT_NE(log.html().find("&lt;b&gt;&amp;"), std::string::npos);
  EXPECT_NE(log.html().find("(2 bytes of binary data)"), std::string::npos);
}
