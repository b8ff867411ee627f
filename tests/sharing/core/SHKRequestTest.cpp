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

// Success is status 200 or 201; with nothing to post a request is a plain GET; a form goes with
// its type, length and the caller's headers.
TEST_F(SHKRequestTest, SuccessAndWhatIsSent) {
  const std::string form = "status=Tin%20m%E1%BB%9Bi&note=Vi\xe1\xbb\x87t";
  const net::UrlRequest::HeaderFields fields{{"X-Extra", "yes"},
                                             {"Content-Type", "application/x-www-form-urlencoded"}};
  const std::tuple<int, std::optional<std::string>, bool, std::string> cases[] = {
      {200, std::nullopt, true, "GET  type=application/x-www-form-urlencoded extra=yes"},
      {201, form, true,
       "POST " + form + " type=application/x-www-form-urlencoded extra=yes with length"},
      {202, "a=1", false, "POST a=1 type=application/x-www-form-urlencoded extra=yes with length"}};
  for (const auto& [status, params, success, sent] : cases) {
    auto request = run("/status/" + std::to_string(status), params, "POST", fields);
    EXPECT_EQ(request->success(), success) << status;
    EXPECT_EQ(request->response()->statusCode(), status);
    EXPECT_EQ(sent_, sent);
    EXPECT_EQ(request->getResult(), "Đã lưu");
  }
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
