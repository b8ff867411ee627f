#include "platform/net/UrlConnection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

// Writes down every report as one line of text.
class Recorder : public net::UrlConnectionDelegate {
 public:
  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& r) override {
    events.push_back("response " + std::to_string(r.statusCode()));
    last = r;
  }
  void didReceiveData(net::UrlConnection&, std::string_view data) override { body.append(data); }
  void didFinishLoading(net::UrlConnection&) override {
    events.push_back("finish");
    done = true;
  }
  void didFailWithError(net::UrlConnection&, const net::Error& e) override {
    events.push_back("fail " + std::to_string(e.code()));
    error = e;
    done = true;
  }
  Events events;
  std::string body;
  net::UrlResponse last;
  net::Error error;
  bool done = false;
};

net::UrlRequest get(const std::string& address, double timeout = 10) {
  return net::UrlRequest(*net::Url::parse(address),
                         net::UrlRequest::CachePolicy::UseProtocolCachePolicy, timeout);
}

bool runUntil(const std::function<bool()>& condition, double seconds = 10) {
  return base::RunLoop::main().runUntilCondition(condition, seconds);
}

// What a transfer came to through either loader; `events` are the asynchronous one's reports.
struct Outcome {
  net::Error error;
  net::UrlResponse response;
  std::string body;
  Events events;
};
using Load = std::function<Outcome(const net::UrlRequest&)>;
const struct {
  const char* name;
  Load load;
} kLoaders[] = {
    {"asynchronous",
     [](const net::UrlRequest& request) {
       Recorder r;
       auto connection = net::UrlConnection::start(request, &r);
       EXPECT_TRUE(r.events.empty()) << "reports never arrive inside start()";
       EXPECT_TRUE(runUntil([&] { return r.done; }, 30));
       return Outcome{r.error, r.last, r.body, r.events};
     }},
    {"synchronous",
     [](const net::UrlRequest& request) {
       net::LoadResult r = net::UrlLoader::sendSynchronousRequest(request);
       return Outcome{r.error, r.response, r.body, {}};
     }},
};

class UrlConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One request per connection: a kept-alive connection would hold a server thread for seconds.
    server.server().set_keep_alive_max_count(1);
    auto reply = [](int status, std::string body) {
      return [=](const httplib::Request&, httplib::Response& res) {
        res.status = status;
        res.set_header("X-Thing", "1");
        res.set_content(body, "text/plain");
      };
    };
    server.server().Get("/hello", reply(200, "hello world"));
    server.server().Get("/missing", reply(404, "not here"));
    server.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "/hello");
      res.set_content("moved body", "text/plain");
    });
    server.server().Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.status = 201;
      res.set_content(req.method + "|" + req.get_header_value("Content-Type") + "|" +
                          req.get_header_value("X-Token") + "|" + req.get_header_value("Expect") +
                          "|" + req.get_param_value("q") + "|" + req.body,
                      "text/plain");
    });
    server.server().Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
      gate.wait();
      res.set_content("late", "text/plain");
    });
    server.server().Get("/count", [this](const httplib::Request&, httplib::Response&) { ++hits; });
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

// Both loaders read one address the same way; the asynchronous one reports in order.
TEST_F(UrlConnectionTest, BothLoadersAgreeOnEveryOutcome) {
  auto post = get(server.url("/echo?q=1"));
  post.setHttpMethod("POST");
  post.setValue("Content-Type", "application/x-www-form-urlencoded");
  post.setValue("X-Token", "a");
  post.addValue("x-token", "b");
  post.setHttpBody("a=1&b=%C3%A0");
  auto forged = get(server.url("/count"));
  forged.setValue("X-Bad", "a\r\nInjected: 1");
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
       "POST|application/x-www-form-urlencoded|a, b||1|a=1&b=%C3%A0",
       "/echo?q=1",
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
      {"refused",
       get("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/x"),
       net::Error::CannotConnectToHost,
       0,
       "",
       "",
       {"fail -1004"}},
      {"timed out", get(server.url("/slow"), 0.3), net::Error::TimedOut, 0, "", "", {"fail -1001"}},
      {"forged header", forged, net::Error::BadURL, 0, "", "", {"fail -1000"}},
  };
  for (const auto& l : kLoaders) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(l.name) + " " + row.name);
      Outcome o = l.load(row.request);
      EXPECT_EQ(o.error.code(), row.error);
      EXPECT_EQ(o.error.description().empty(), row.error == 0);
      EXPECT_EQ(o.body, row.body);
      if (row.error) {
        EXPECT_EQ(o.error.domain(), net::Error::kDomain);
        continue;
      }
      EXPECT_EQ(o.response.statusCode(), row.status);
      EXPECT_EQ(o.response.url().absoluteString(), server.url(row.finalPath));
      EXPECT_EQ(o.response.valueForHeaderField("x-thing"), row.status == 201 ? "" : "1");
      // The announced length is that of the bytes on the wire, which may be compressed.
      EXPECT_EQ(o.response.expectedContentLength(),
                std::stoll(o.response.valueForHeaderField("Content-Length")));
      if (&l == &kLoaders[0]) {
        EXPECT_EQ(o.events, row.events);
      }
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
    offered.clear();
    EXPECT_EQ(l.load(get(server.url("/text?k=") + l.name)).body, text);
    EXPECT_EQ(offered, "gzip, deflate");
    EXPECT_NE(testing_support::readFile(store.file()).find(std::string("kept\t") + l.name),
              std::string::npos);
    // A cookie put in the store elsewhere goes out too.
    store.setCookie({.domain = "127.0.0.1", .name = "lang", .value = "vi"});
    std::string sent = l.load(get(server.url("/cookie"))).body;
    EXPECT_NE(sent.find(std::string("kept=") + l.name), std::string::npos) << sent;
    EXPECT_NE(sent.find("lang=vi"), std::string::npos) << sent;
    store.deleteCookiesForUrl(*net::Url::parse(server.url("/")));
    EXPECT_TRUE(store.cookies().empty());
  }
}

TEST_F(UrlConnectionTest, CancelDropsEvenReportsAlreadyQueued) {
  Recorder early, queued;
  auto c1 = net::UrlConnection::start(get(server.url("/slow")), &early);
  c1->cancel();
  // Let the whole exchange finish on the worker without running the main loop, so its reports
  // wait in the queue, then cancel.
  auto c2 = net::UrlConnection::start(get(server.url("/hello")), &queued);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  c2->cancel();
  base::RunLoop::main().runFor(0.2);
  EXPECT_TRUE(early.events.empty());
  EXPECT_TRUE(queued.events.empty());
  EXPECT_TRUE(queued.body.empty());
}

TEST_F(UrlConnectionTest, BodiesOverTheCapFail) {
  constexpr size_t kCap = net::UrlLoader::kDefaultMaxBodyBytes;
  // Sized bodies (refused on their length) and a chunked one (cut off as it grows).
  auto sized = [](size_t bytes) {
    return [bytes](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(bytes, 'x'), "text/plain");
    };
  };
  server.server().Get("/fits", sized(kCap));
  server.server().Get("/over", sized(kCap + 1));
  server.server().Get("/stream", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
      if (offset > kCap) {
        sink.done();
        return true;
      }
      std::string chunk(1 << 20, 'y');
      return sink.write(chunk.data(), chunk.size());
    });
  });
  for (auto [path, lastEvent] :
       {std::pair{"/fits", "finish"}, {"/over", "fail -1103"}, {"/stream", "fail -1103"}}) {
    Recorder recorder;
    auto connection = net::UrlConnection::start(get(server.url(path), 30), &recorder);
    ASSERT_TRUE(runUntil([&] { return recorder.done; }, 30)) << path;
    EXPECT_EQ(recorder.events.back(), lastEvent) << path;
    EXPECT_LE(recorder.body.size(), kCap) << path;
  }
}

// Destroys its connection on the first response, as an owner that loses interest would.
class Dropper : public Recorder {
 public:
  void didReceiveResponse(net::UrlConnection& c, const net::UrlResponse& r) override {
    Recorder::didReceiveResponse(c, r);
    connection.reset();
  }
  std::unique_ptr<net::UrlConnection> connection;
};

TEST_F(UrlConnectionTest, DestroyingTheConnectionInACallbackEndsTheReports) {
  Dropper dropper;
  dropper.connection = net::UrlConnection::start(get(server.url("/hello")), &dropper);
  ASSERT_TRUE(runUntil([&] { return !dropper.events.empty(); }));
  base::RunLoop::main().runFor(0.2);
  EXPECT_EQ(dropper.events, Events{"response 200"});
  EXPECT_TRUE(dropper.body.empty());
}

// Many connections, one without a delegate, share one worker and all complete.
TEST_F(UrlConnectionTest, ManyConcurrentConnectionsShareOneWorker) {
  auto silent = net::UrlConnection::start(get(server.url("/hello")), nullptr);
  std::vector<Recorder> recorders(40);
  std::vector<std::unique_ptr<net::UrlConnection>> connections;
  for (auto& r : recorders)
    connections.push_back(net::UrlConnection::start(get(server.url("/hello")), &r));
  ASSERT_TRUE(runUntil([&] {
    return std::all_of(recorders.begin(), recorders.end(), [](auto& r) { return r.done; });
  }));
  for (auto& r : recorders) EXPECT_EQ(r.body, "hello world");
}

}  // namespace
