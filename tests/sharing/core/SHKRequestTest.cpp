#include "sharing/core/SHKRequest.h"

#include <gtest/gtest.h>

#include "platform/base/RunLoop.h"
#include "tests/support/LoopbackServer.h"

namespace {

class SHKRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server_.server();
    s.set_keep_alive_max_count(1);
    auto record = [this](const httplib::Request& req, httplib::Response& res) {
      sent_ = req.method + " " + req.body + " type=" + req.get_header_value("Content-Type") +
              " extra=" + req.get_header_value("X-Extra") +
              (req.has_header("Content-Length") ? " with length" : "");
      res.status = std::stoi(req.matches[1]);
      res.set_content("Đã lưu", "text/plain");
    };
    s.Get(R"(/status/(\d+))", record);
    s.Post(R"(/status/(\d+))", record);
    const std::pair<const char*, std::string> bodies[] = {
        {"/empty", ""},
        {"/latin1", "caf\xe9"},
        {"/huge", std::string(SHKRequest::kMaxBodyBytes + 1, 'x')}};
    for (const auto& [path, body] : bodies) {
      s.Get(path, [body](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "text/plain");
      });
    }
    s.Get("/cut", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(1000, "text/plain", [](size_t, size_t, httplib::DataSink& sink) {
        sink.write("only ten..", 10);
        return false;
      });
    });
    server_.start();
  }

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
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(calls_, 1) << path;
    return request;
  }

  std::string sent_;
  int calls_ = 0;
  // Last, so it stops first: a request still in flight must not find the members gone.
  testing_support::LoopbackServer server_;
};

TEST_F(SHKRequestTest, SuccessIsStatus200Or201) {
  const std::pair<int, bool> cases[] = {{200, true}, {201, true}, {202, false}, {500, false}};
  for (auto [status, success] : cases) {
    auto request = run("/status/" + std::to_string(status), "a=1", "POST");
    EXPECT_EQ(request->success(), success) << status;
    EXPECT_EQ(request->response()->statusCode(), status);
  }
}

TEST_F(SHKRequestTest, WhatIsSent) {
  run("/status/200", std::nullopt, "POST");
  EXPECT_EQ(sent_, "GET  type= extra=");  // nothing to post: a plain GET

  const std::string form = "status=Tin%20m%E1%BB%9Bi&note=Vi\xe1\xbb\x87t";
  auto request =
      run("/status/201", form, "POST",
          net::UrlRequest::HeaderFields{{"X-Extra", "yes"},
                                        {"Content-Type", "application/x-www-form-urlencoded"}});
  EXPECT_EQ(sent_,
            "POST " + form + " type=application/x-www-form-urlencoded extra=yes with length");
  EXPECT_EQ(request->getResult(), "Đã lưu");
}

TEST_F(SHKRequestTest, AwkwardAnswersEndOnceWithADefinedResult) {
  const std::tuple<const char*, bool, std::optional<std::string>> cases[] = {
      {"/empty", true, ""},
      {"/latin1", true, std::nullopt},
      {"/cut", false, "only ten.."},
      {"/huge", false, ""},
  };
  for (const auto& [path, success, result] : cases) {
    auto request = run(path, std::nullopt, "GET");
    EXPECT_EQ(request->success(), success) << path;
    EXPECT_EQ(request->getResult(), result) << path;
  }
  server_.stop();
  auto refused = run("/status/200", std::nullopt, "GET");
  EXPECT_FALSE(refused->success());
  EXPECT_FALSE(refused->response());
}

}  // namespace
