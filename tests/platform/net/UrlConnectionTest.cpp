#include "platform/net/UrlConnection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/net/CookieStore.h"
#include "platform/net/UrlLoader.h"
#include "tests/platform/net/TransferTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

using Events = std::vector<std::string>;
using net::UrlLoader;

// Writes down every report as one line of text; `onReport` runs after each.
class Recorder : public net::UrlConnectionDelegate {
 public:
  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& r) override {
    last = r;
    note("response " + std::to_string(r.statusCode()));
  }
  void didReceiveData(net::UrlConnection&, std::string_view data) override { body.append(data); }
  void didFinishLoading(net::UrlConnection&) override { note("finish"); }
  void didFailWithError(net::UrlConnection&, const net::Error& e) override {
    error = e;
    note("fail " + std::to_string(e.code()));
  }
  void note(std::string event) {
    events.push_back(std::move(event));
    done = events.back().starts_with("f");  // "finish" or "fail …"
    if (onReport) onReport();
  }
  Events events;
  std::string body;
  net::UrlResponse last;
  net::Error error;
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

// What a transfer came to through either loader; `events` are the asynchronous one's reports.
struct Outcome {
  net::Error error;
  net::UrlResponse response;
  std::string body;
  Events events;
};
Outcome loadAsync(const net::UrlRequest& request) {
  Recorder r;
  auto connection = net::UrlConnection::start(request, &r);
  EXPECT_TRUE(r.events.empty()) << "reports never arrive inside start()";
  EXPECT_TRUE(runUntil([&] { return r.done; }));
  return Outcome{r.error, r.last, r.body, r.events};
}
const struct {
  const char* name;
  std::function<Outcome(const net::UrlRequest&)> load;
} kLoaders[] = {
    {"asynchronous", loadAsync},
    // libcurl's time-outs and the sockets still run in real time.
    {"asynchronous, virtual clock",
     [](const net::UrlRequest& request) {
       base::RunLoop::main().setVirtualClock(true);
       Outcome outcome = loadAsync(request);
       base::RunLoop::main().setVirtualClock(false);
       return outcome;
     }},
    {"synchronous",
     [](const net::UrlRequest& request) {
       net::LoadResult r = UrlLoader::sendSynchronousRequest(request);
       return Outcome{r.error, r.response, r.body, {}};
     }},
};

class UrlConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server.server();
    // One request per connection: a kept-alive connection would hold a server thread for seconds.
    s.set_keep_alive_max_count(1);
    s.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("X-Thing", "1");
      res.set_content("hello world", "text/plain");
    });
    s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("not here", "text/plain");
    });
    s.Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/hello");
      res.set_content("moved body", "text/plain");
    });
    s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.status = 201;
      res.set_content(req.method + "|" + req.get_header_value("Content-Type") + "|" +
                          req.get_header_value("X-Token") + "|" + req.get_header_value("Expect") +
                          "|" + req.body,
                      "text/plain");
    });
    s.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
      gate.wait();
      res.set_content("late", "text/plain");
    });
    s.Get("/count", [this](const httplib::Request&, httplib::Response&) { ++hits; });
    server.start();
  }
  void TearDown() override {
    gate.open();
    server.stop();
    base::RunLoop::main().reset();
  }

  testing_support::TempDir dir;
  testing_support::LoopbackServer server;
  testing_support::ResponseGate gate;
  std::atomic<int> hits{0};
};

TEST_F(UrlConnectionTest, BothLoadersAgreeOnEveryOutcome) {
  auto post = get(server.url("/echo"));
  post.setHttpMethod("POST");
  post.setValue("Content-Type", "application/x-www-form-urlencoded");
  post.setValue("X-Token", "a");
  post.addValue("x-token", "b");
  post.setHttpBody("a=1&b=%C3%A0");
  auto forged = get(server.url("/count"));
  forged.setValue("X-Bad", "a\r\nInjected: 1");
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing_support::closedPort());
  const struct {
    const char* name;
    net::UrlRequest request;
    long error;
    int status;
    std::string body, finalPath;
    Events events;
  } rows[] = {
      {"get",
       get(server.url("/hello")),
       0,
       200,
       "hello world",
       "/hello",
       {"response 200", "finish"}},
      {"post",
       post,
       0,
       201,
       "POST|application/x-www-form-urlencoded|a, b||a=1&b=%C3%A0",
       "/echo",
       {"response 201", "finish"}},
      {"error status",
       get(server.url("/missing")),
       0,
       404,
       "not here",
       "/missing",
       {"response 404", "finish"}},
      {"redirect",
       get(server.url("/moved")),
       0,
       200,
       "hello world",
       "/hello",
       {"response 302", "response 200", "finish"}},
      {"refused", get(refused + "/x"), net::Error::CannotConnectToHost, 0, "", "", {"fail -1004"}},
      {"timed out", get(server.url("/slow"), 0.3), net::Error::TimedOut, 0, "", "", {"fail -1001"}},
      {"forged header", forged, net::Error::BadURL, 0, "", "", {"fail -1000"}},
      {"not a web address",
       get("file:///etc/passwd"),
       net::Error::UnsupportedURL,
       0,
       "",
       "",
       {"fail -1002"}},
  };
  for (const auto& l : kLoaders) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(l.name) + " " + row.name);
      Outcome o = l.load(row.request);
      EXPECT_EQ(o.error.code(), row.error);
      EXPECT_EQ(o.error.description().empty(), row.error == 0);
      EXPECT_EQ(o.body, row.body);
      if (l.name[0] == 'a') {
        EXPECT_EQ(o.events, row.events);
      }
      if (row.error) continue;
      EXPECT_EQ(o.response.statusCode(), row.status);
      EXPECT_EQ(o.response.url().absoluteString(), server.url(row.finalPath));
      EXPECT_EQ(o.response.valueForHeaderField("x-thing"), row.status == 200 ? "1" : "");
      // The announced length is that of the bytes on the wire, which may be compressed.
      EXPECT_EQ(o.response.expectedContentLength(),
                std::stoll(o.response.valueForHeaderField("Content-Length")));
    }
  }
  EXPECT_EQ(hits, 0) << "a forged header must not reach the server";
}

// Both loaders offer gzip and deflate only, read compressed answers, send the shared store's
// cookies and save a cookie the moment the transfer that set it ends (nothing is left for exit).
TEST_F(UrlConnectionTest, BothLoadersOfferGzipAndShareCookiesSavedAtOnce) {
  const std::string text(4000, 'v');
  std::string offered;
  server.server().Get("/text", [&](const httplib::Request& req, httplib::Response& res) {
    offered = req.get_header_value("Accept-Encoding");
    res.set_header("Set-Cookie", "kept=" + req.get_param_value("k") + "; Max-Age=3600; Path=/");
    res.set_content(text, "text/plain");
  });
  server.server().Get("/cookie", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.get_header_value("Cookie"), "text/plain");
  });
  net::CookieStore& store = net::CookieStore::shared();
  for (const auto& l : kLoaders) {
    SCOPED_TRACE(l.name);
    store.removeAll();
    const std::string tag = std::to_string(&l - kLoaders);
    EXPECT_EQ(l.load(get(server.url("/text?k=") + tag)).body, text);
    EXPECT_EQ(offered, "gzip, deflate");
    EXPECT_NE(testing_support::readFile(store.file()).find("kept\t" + tag), std::string::npos);
    store.setCookie({.domain = "127.0.0.1", .name = "lang", .value = "vi"});
    std::string sent = l.load(get(server.url("/cookie"))).body;
    EXPECT_NE(sent.find("kept=" + tag), std::string::npos) << sent;
    EXPECT_NE(sent.find("lang=vi"), std::string::npos) << sent;
  }
}

// Both loaders cut a body off at the cap, whether announced (sized) or growing (chunked); the
// synchronous one also takes a cap of the caller's.
TEST_F(UrlConnectionTest, BodiesOverTheCapFail) {
  constexpr size_t kCap = UrlLoader::kDefaultMaxBodyBytes;
  server.server().Get("/sized", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(std::string(std::stoul(req.get_param_value("n")), 'x'), "text/plain");
  });
  server.server().Get("/stream", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
      if (offset > kCap) return sink.done(), true;
      std::string chunk(1 << 20, 'y');
      return sink.write(chunk.data(), chunk.size());
    });
  });
  const std::string n = "/sized?n=";
  for (auto [path, error] : {std::pair{n + std::to_string(kCap), 0L},
                             {n + std::to_string(kCap + 1), net::Error::DataLengthExceedsMaximum},
                             {std::string("/stream"), net::Error::DataLengthExceedsMaximum}}) {
    SCOPED_TRACE(path);
    Outcome o = loadAsync(get(server.url(path), 30));
    EXPECT_EQ(o.error.code(), error);
    EXPECT_LE(o.body.size(), kCap);
  }
  for (auto [path, cap, error] : {std::tuple{"/sized?n=4096", 4096, 0L},
                                  {"/sized?n=4096", 4095, net::Error::DataLengthExceedsMaximum},
                                  {"/stream", 4096, net::Error::DataLengthExceedsMaximum}}) {
    SCOPED_TRACE(std::string(path) + " " + std::to_string(cap));
    net::LoadResult r = UrlLoader::sendSynchronousRequest(get(server.url(path)), cap);
    EXPECT_EQ(r.error.code(), error);
    EXPECT_EQ(r.body.size(), error ? 0u : 4096u);
  }
}

// A report that ends connections, its own or others still running, ends their reports too,
// even those already queued behind it; the connections' owners may be gone.
TEST_F(UrlConnectionTest, EndingConnectionsFromAReportEndsTheirReports) {
  std::vector<Recorder> recorders(8);
  std::vector<std::unique_ptr<net::UrlConnection>> connections;
  for (auto& r : recorders) {
    r.onReport = [&] { connections.clear(); };
    connections.push_back(net::UrlConnection::start(get(server.url("/hello")), &r));
  }
  ASSERT_TRUE(runUntil([&] { return connections.empty(); }));
  base::RunLoop::main().runFor(0.3);
  Events all;
  for (auto& r : recorders) all.insert(all.end(), r.events.begin(), r.events.end());
  EXPECT_EQ(all, Events{"response 200"});
  for (auto& r : recorders) EXPECT_EQ(r.body, "");
}

// libcurl's timer may be armed for an earlier, cancelled transfer; a later time-out still fires.
TEST_F(UrlConnectionTest, TimeOutsFireAfterCancelledTransfers) {
  Recorder cancelled, late;
  auto first = net::UrlConnection::start(get(server.url("/slow"), 0.05), &cancelled);
  first.reset();
  auto second = net::UrlConnection::start(get(server.url("/slow"), 0.6), &late);
  ASSERT_TRUE(runUntil([&] { return late.done; }, 3));
  EXPECT_EQ(late.events, Events{"fail -1001"});
  EXPECT_TRUE(cancelled.events.empty());
}

// Many transfers, one without a delegate, run at once on the loop, and so do synchronous
// loads on several threads.
TEST_F(UrlConnectionTest, ManyConcurrentTransfersAllComplete) {
  auto silent = net::UrlConnection::start(get(server.url("/hello")), nullptr);
  std::vector<Recorder> recorders(40);
  std::vector<std::unique_ptr<net::UrlConnection>> connections;
  for (auto& r : recorders)
    connections.push_back(net::UrlConnection::start(get(server.url("/hello")), &r));
  std::vector<std::string> bodies(4);
  std::vector<std::thread> threads;
  for (auto& body : bodies)
    threads.emplace_back(
        [&] { body = UrlLoader::sendSynchronousRequest(get(server.url("/hello"))).body; });
  ASSERT_TRUE(runUntil([&] {
    return std::all_of(recorders.begin(), recorders.end(), [](auto& r) { return r.done; });
  }));
  for (auto& t : threads) t.join();
  for (auto& r : recorders) EXPECT_EQ(r.body, "hello world");
  EXPECT_EQ(bodies, std::vector<std::string>(4, "hello world"));
}

}  // namespace
