#include "sharing/core/SHKRequest.h"

#include <gtest/gtest.h>

#include "platform/base/RunLoop.h"
#include "tests/support/LoopbackServer.h"

namespace {

struct Sent {
  std::string method, body, contentType, extra;
  bool hasLength = false;
};

class SHKRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server_.server();
    s.set_keep_alive_max_count(1);
    auto record = [this](const httplib::Request& req, httplib::Response& res) {
      sent_ = {req.method, req.body, req.get_header_value("Content-Type"),
               req.get_header_value("X-Extra"), req.has_header("Content-Length")};
      res.status = std::stoi(req.matches[1]);
      res.set_content("Đã lưu", "text/plain");
    };
    s.Get(R"(/status/(\d+))", record);
    s.Post(R"(/status/(\d+))", record);
    s.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("", "text/plain");
    });
    s.Get("/latin1", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("caf\xe9", "text/plain");
    });
    s.Get("/cut", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(1000, "text/plain", [](size_t, size_t, httplib::DataSink& sink) {
        sink.write("only ten..", 10);
        return false;
      });
    });
    s.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(SHKRequest::kMaxBodyBytes + 1, 'x'), "text/plain");
    });
    server_.start();
  }

  // Runs one request to its end; counts the finish reports, waiting a little for a second.
  std::shared_ptr<SHKRequest> run(const std::string& path, std::optional<std::string> params,
                                  const std::string& method,
                                  std::optional<net::UrlRequest::HeaderFields> fields = {}) {
    calls_ = 0;
    auto request = SHKRequest::create(
        *net::Url::parse(server_.url(path)), std::move(params), [this](SHKRequest&) { ++calls_; },
        method, false);
    request->setHeaderFields(std::move(fields));
    request->start();
    EXPECT_TRUE(base::RunLoop::main().runUntilCondition([&] { return calls_ > 0; }, 20));
    base::RunLoop::main().runFor(0.05);
    EXPECT_EQ(calls_, 1) << path;
    return request;
  }

  Sent sent_;
  int calls_ = 0;
  // Last, so it stops first: a request still in flight must not find the members gone.
  testing_support::LoopbackServer server_;
};

TEST_F(SHKRequestTest, SuccessIsStatus200Or201) {
  const std::pair<int, bool> cases[] = {{200, true},  {201, true},  {202, false}, {204, false},
                                        {401, false}, {403, false}, {500, false}};
  for (auto [status, success] : cases) {
    auto request = run("/status/" + std::to_string(status), "a=1", "POST");
    EXPECT_EQ(request->success(), success) << status;
    EXPECT_EQ(request->response()->statusCode(), status);
  }
}

TEST_F(SHKRequestTest, WhatIsSent) {
  auto request = run("/status/200", std::nullopt, "POST");
  EXPECT_EQ(sent_.method, "GET");
  EXPECT_EQ(sent_.body, "");
  EXPECT_FALSE(sent_.hasLength);

  request = run("/status/201", "status=Tin%20m%E1%BB%9Bi&note=Vi\xe1\xbb\x87t", "POST",
                net::UrlRequest::HeaderFields{
                    {"X-Extra", "yes"}, {"Content-Type", "application/x-www-form-urlencoded"}});
  EXPECT_EQ(sent_.method, "POST");
  EXPECT_EQ(sent_.body, "status=Tin%20m%E1%BB%9Bi&note=Vi\xe1\xbb\x87t");
  EXPECT_EQ(sent_.extra, "yes");
  EXPECT_EQ(sent_.contentType, "application/x-www-form-urlencoded");
  EXPECT_EQ(request->getResult(), "Đã lưu");
  bool typeHeader = false;
  for (const auto& [name, value] : request->headers()) typeHeader |= name == "Content-Type";
  EXPECT_TRUE(typeHeader);
}

TEST_F(SHKRequestTest, AwkwardAnswersEndOnceWithADefinedResult) {
  struct Case {
    const char* path;
    bool success;
    std::optional<std::string> result;
  };
  const Case cases[] = {
      {"/empty", true, ""},
      {"/latin1", true, std::nullopt},
      {"/cut", false, "only ten.."},
      {"/huge", false, ""},
  };
  for (const auto& c : cases) {
    auto request = run(c.path, std::nullopt, "GET");
    EXPECT_EQ(request->success(), c.success) << c.path;
    EXPECT_EQ(request->getResult(), c.result) << c.path;
  }
  server_.stop();
  auto refused = run("/status/200", std::nullopt, "GET");
  EXPECT_FALSE(refused->success());
  EXPECT_FALSE(refused->response());
}

}  // namespace
