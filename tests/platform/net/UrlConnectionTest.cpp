#include "platform/net/UrlConnection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/base/RunLoop.h"
#include "platform/net/CookieStore.h"
#include "platform/net/UrlLoader.h"
#include "tests/platform/net/TransferTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

using Events = std::vector<std::string>;
using net::Error;
constexpr long kTooLarge = Error::DataLengthExceedsMaximum;

// What a transfer came to: its reports, or those the synchronous loader's result stands for.
struct Outcome : net::UrlConnectionDelegate {
  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& r) override {
    note("response " + std::to_string((response = r).statusCode()));
  }
  void didReceiveData(net::UrlConnection&, std::string_view data) override { body.append(data); }
  void didFinishLoading(net::UrlConnection&) override { note("finish"); }
  void didFailWithError(net::UrlConnection&, const Error& e) override {
    note("fail " + std::to_string((error = e).code()));
  }
  void note(std::string event) {
    events.push_back(std::move(event));
    done = events.back().starts_with("f");  // "finish" or "fail …"
    if (onReport) onReport();
  }
  Error error;
  net::UrlResponse response;
  std::string body;
  Events events;
  bool done = false;
  std::function<void()> onReport;
};

net::UrlRequest get(const std::string& address, double timeout = 10) {
  return net::UrlRequest(*net::Url::parse(address),
                         net::UrlRequest::CachePolicy::UseProtocolCachePolicy, timeout);
}

bool runUntil(const std::function<bool()>& condition, double seconds = 30) {
  return base::RunLoop::main().runUntilCondition(condition, seconds);
}

// Loads through UrlConnection (async) or the synchronous loader.
std::unique_ptr<Outcome> load(bool async, const net::UrlRequest& request) {
  auto o = std::make_unique<Outcome>();
  if (!async) {
    net::LoadResult r = net::UrlLoader::sendSynchronousRequest(request);
    o->error = r.error, o->response = r.response, o->body = r.body;
    o->events = r.error ? Events{"fail " + std::to_string(r.error.code())}
                        : Events{"response " + std::to_string(r.response.statusCode()), "finish"};
    return o;
  }
  auto connection = net::UrlConnection::start(request, o.get());
  EXPECT_TRUE(o->events.empty()) << "reports never arrive inside start()";
  EXPECT_TRUE(runUntil([&] { return o->done; }));
  return o;
}

class UrlConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server.server();
    // One request per connection: a kept-alive connection would hold a server thread for seconds.
    s.set_keep_alive_max_count(1);
    s.Get("/hello", [](const httplib::Request& req, httplib::Response& res) {
      if (req.has_param("moved")) return res.set_redirect("/hello");
      if (req.has_param("n"))
        return res.set_content(std::string(std::stoul(req.get_param_value("n")), 'x'),
                               "text/plain");
      res.status = req.has_param("missing") ? 404 : 200;
      if (req.has_param("k"))
        res.set_header("Set-Cookie", "kept=" + req.get_param_value("k") + "; Max-Age=60; Path=/");
      res.set_content("hello " + req.get_header_value("Cookie"), "text/plain");
    });
    s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.status = 201;
      for (const char* field : {"Content-Type", "X-Token", "Expect", "Accept-Encoding"})
        res.body += req.get_header_value(field) + "|";
      res.set_content(req.method + "|" + res.body + req.body, "text/plain");
    });
    s.Get("/slow", [this](const httplib::Request&, httplib::Response&) { gate.wait(); });
    s.Get("/count", [this](const httplib::Request&, httplib::Response&) { ++hits; });
    server.start();
  }
  void TearDown() override {
    gate.open();
    server.stop();
    net::CookieStore::shared().removeAll();
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(false);
  }

  testing_support::TempDir dir;
  testing_support::LoopbackServer server;
  testing_support::ResponseGate gate;
  std::atomic<int> hits{0};
};

// Both loaders read every kind of outcome alike. They send the shared store's cookies and save a
// cookie the moment the transfer that set it ends (nothing is left for exit).
TEST_F(UrlConnectionTest, BothLoadersAgreeOnEveryOutcomeAndShareCookies) {
  auto post = get(server.url("/echo"));
  post.setHttpMethod("POST");
  post.setValue("Content-Type", "application/x-www-form-urlencoded");
  post.setValue("X-Token", "a");
  post.addValue("x-token", "b");
  post.setHttpBody("a=1&b=%C3%A0");
  auto forged = get(server.url("/count"));
  forged.setValue("X-Bad", "a\r\nInjected: 1");
  const struct {
    net::UrlRequest request;
    Events events;
    std::string body = "", finalPath = "";
  } rows[] = {
      // clang-format off
      {get(server.url("/hello")), {"response 200", "finish"}, "hello ", "/hello"},
      {post, {"response 201", "finish"},
       "POST|application/x-www-form-urlencoded|a, b||gzip, deflate|a=1&b=%C3%A0", "/echo"},
      {get(server.url("/hello?missing")), {"response 404", "finish"}, "hello ", "/hello?missing"},
      {get(server.url("/hello?moved")), {"response 302", "response 200", "finish"}, "hello ",
       "/hello"},
      // Cannot connect, timed out, a bad URL (a forged header), an unsupported URL.
      {get("http://127.0.0.1:" + std::to_string(testing_support::closedPort())), {"fail -1004"}},
      {get(server.url("/slow"), 0.3), {"fail -1001"}},
      {forged, {"fail -1000"}},
      {get("file:///etc/passwd"), {"fail -1002"}},
      // clang-format on
  };
  for (bool async : {true, false}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::to_string(async) + " " + row.request.url().absoluteString());
      net::CookieStore::shared().removeAll();
      auto o = load(async, row.request);
      // The synchronous loader tells only of the last response.
      EXPECT_EQ(o->events, async ? row.events
                                 : Events(row.events.end() - std::min<size_t>(row.events.size(), 2),
                                          row.events.end()));
      EXPECT_EQ(o->body, row.body);
      if (!o->error.ok()) continue;
      EXPECT_EQ(o->response.url().absoluteString(), server.url(row.finalPath));
      // The announced length is that of the bytes on the wire, which may be compressed.
      EXPECT_EQ(o->response.expectedContentLength(),
                std::stoll(o->response.valueForHeaderField("Content-Length")));
    }
    net::CookieStore& store = net::CookieStore::shared();
    std::string tag = std::to_string(async);
    load(async, get(server.url("/hello?k=") + tag));
    EXPECT_NE(testing_support::readFile(store.file()).find("kept\t" + tag), std::string::npos);
    store.setCookie({.domain = "127.0.0.1", .path = "/hello", .name = "lang", .value = "vi"});
    EXPECT_EQ(load(async, get(server.url("/hello")))->body,
              "hello lang=vi; kept=" + tag);  // longer paths first
  }
  EXPECT_EQ(hits, 0) << "a forged header must not reach the server";
}

// Both loaders cut a body off at the cap, whether announced (sized) or growing (chunked).
TEST_F(UrlConnectionTest, BodiesOverTheCapFail) {
  constexpr size_t kCap = net::UrlLoader::kDefaultMaxBodyBytes;
  server.server().Get("/stream", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
      std::string chunk(1 << 20, 'y');
      return offset <= kCap && sink.write(chunk.data(), chunk.size());
    });
  });
  for (bool async : {true, false}) {
    for (auto [path, error] : {std::pair{"/hello?n=" + std::to_string(kCap), 0L},
                               {"/hello?n=" + std::to_string(kCap + 1), kTooLarge},
                               {std::string("/stream"), kTooLarge}}) {
      SCOPED_TRACE(std::to_string(async) + " " + path);
      auto o = load(async, get(server.url(path), 30));
      EXPECT_EQ(o->error.code(), error);
      EXPECT_EQ(o->body.size(), error ? std::min(o->body.size(), kCap) : kCap);
    }
  }
}

// Many transfers (one without a delegate) run at once, and synchronous loads on threads. A report
// that ends connections, its own or others, ends their reports, even those queued behind it.
// libcurl's time-outs run in real time, also with the virtual clock; its timer may be armed for
// an earlier, cancelled transfer, and a later time-out still fires (before the held response).
TEST_F(UrlConnectionTest, ManyTransfersAtOnceEndingThemFromAReportAndTimeOuts) {
  auto silent = net::UrlConnection::start(get(server.url("/hello")), nullptr);
  std::vector<Outcome> outcomes(40), ended(8);
  std::vector<std::unique_ptr<net::UrlConnection>> connections;
  for (auto& o : outcomes)
    connections.push_back(net::UrlConnection::start(get(server.url("/hello")), &o));
  std::vector<std::string> bodies(4);
  std::vector<std::thread> threads;
  for (auto& body : bodies)
    threads.emplace_back([&] { body = load(false, get(server.url("/hello")))->body; });
  ASSERT_TRUE(runUntil([&] {
    return std::all_of(outcomes.begin(), outcomes.end(), [](auto& o) { return o.done; });
  }));
  for (auto& t : threads) t.join();
  for (auto& o : outcomes) EXPECT_EQ(o.body, "hello ");
  EXPECT_EQ(bodies, std::vector<std::string>(4, "hello "));

  for (auto& o : ended) {
    o.onReport = [&] { connections.clear(); };
    connections.push_back(net::UrlConnection::start(get(server.url("/hello")), &o));
  }
  ASSERT_TRUE(runUntil([&] { return connections.empty(); }));
  base::RunLoop::main().runFor(0.3);
  Events all;
  for (auto& o : ended) all.insert(all.end(), o.events.begin(), o.events.end());
  EXPECT_EQ(all, Events{"response 200"});
  for (auto& o : ended) EXPECT_EQ(o.body, "");

  base::RunLoop::main().setVirtualClock(true);
  Outcome cancelled, late;
  net::UrlConnection::start(get(server.url("/slow"), 0.05), &cancelled);
  auto second = net::UrlConnection::start(get(server.url("/slow"), 0.6), &late);
  ASSERT_TRUE(runUntil([&] { return late.done; }, 3));
  EXPECT_EQ(late.events, Events{"fail -1001"});
  EXPECT_TRUE(cancelled.events.empty());
}

}  // namespace
