#include "platform/net/UrlConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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

using testing_support::LoopbackServer;

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

  std::vector<std::string> events;
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

class UrlConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One request per connection: a kept-alive connection would hold a server thread for seconds.
    server.server().set_keep_alive_max_count(1);
    server.server().Get("/hello", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("X-Thing", "1");
      res.set_content("hello world", "text/plain");
    });
    server.server().Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.status = 201;
      res.set_content(req.method + " " + req.get_header_value("Content-Type") + " " + req.body,
                      "text/plain");
    });
    server.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("not here", "text/plain");
    });
    server.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "/hello");
      res.set_content("moved body", "text/plain");
    });
    server.server().Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
      gate.wait();
      res.set_content("late", "text/plain");
    });
    server.start();
  }
  void TearDown() override {
    gate.open();
    server.stop();
    base::RunLoop::main().reset();
  }

  testing_support::TempDir dir;
  LoopbackServer server;
  testing_support::ResponseGate gate;
};

TEST_F(UrlConnectionTest, DeliversResponseDataAndFinishInOrder) {
  Recorder recorder;
  auto connection = net::UrlConnection::start(get(server.url("/hello")), &recorder);
  ASSERT_TRUE(connection);
  ASSERT_TRUE(runUntil([&] { return recorder.done; }));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"response 200", "finish"}));
  EXPECT_EQ(recorder.body, "hello world");
  EXPECT_EQ(recorder.last.valueForHeaderField("x-thing"), "1");
}

TEST_F(UrlConnectionTest, PostsTheBodyAndReportsErrorStatusesAsResponses) {
  auto request = get(server.url("/echo"));
  request.setHttpMethod("POST");
  request.setValue("Content-Type", "application/x-www-form-urlencoded");
  request.setHttpBody("a=1&b=%C3%A0");
  Recorder posted, missing;
  auto c1 = net::UrlConnection::start(request, &posted);
  auto c2 = net::UrlConnection::start(get(server.url("/missing")), &missing);
  ASSERT_TRUE(runUntil([&] { return posted.done && missing.done; }));
  EXPECT_EQ(posted.events, (std::vector<std::string>{"response 201", "finish"}));
  EXPECT_EQ(posted.body, "POST application/x-www-form-urlencoded a=1&b=%C3%A0");
  EXPECT_EQ(missing.events, (std::vector<std::string>{"response 404", "finish"}));
  EXPECT_EQ(missing.body, "not here");
}

TEST_F(UrlConnectionTest, RedirectAnnouncesANewResponseEndingWithTheFinalOne) {
  Recorder recorder;
  auto connection = net::UrlConnection::start(get(server.url("/moved")), &recorder);
  ASSERT_TRUE(runUntil([&] { return recorder.done; }));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"response 302", "response 200", "finish"}));
  EXPECT_EQ(recorder.body, "hello world");
  EXPECT_EQ(recorder.last.url().absoluteString(), server.url("/hello"));
}

TEST_F(UrlConnectionTest, RefusedConnectionAndTimeOutFail) {
  Recorder refused, timedOut;
  auto c1 = net::UrlConnection::start(
      get("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/x"), &refused);
  auto c2 = net::UrlConnection::start(get(server.url("/slow"), 0.3), &timedOut);
  ASSERT_TRUE(runUntil([&] { return refused.done && timedOut.done; }));
  EXPECT_EQ(refused.events, (std::vector<std::string>{"fail -1004"}));
  EXPECT_FALSE(refused.error.description().empty());
  EXPECT_EQ(timedOut.events, (std::vector<std::string>{"fail -1001"}));
}

TEST_F(UrlConnectionTest, InvalidHeaderFailsAsynchronously) {
  auto request = get(server.url("/hello"));
  request.setValue("X-Bad", "a\r\nInjected: 1");
  Recorder recorder;
  auto connection = net::UrlConnection::start(request, &recorder);
  EXPECT_TRUE(recorder.events.empty());
  ASSERT_TRUE(runUntil([&] { return recorder.done; }));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"fail -1000"}));
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
  const struct {
    const char* path;
    const char* lastEvent;
  } cases[] = {{"/fits", "finish"}, {"/over", "fail -1103"}, {"/stream", "fail -1103"}};
  for (const auto& c : cases) {
    Recorder recorder;
    auto connection = net::UrlConnection::start(get(server.url(c.path), 30), &recorder);
    ASSERT_TRUE(runUntil([&] { return recorder.done; }, 30)) << c.path;
    EXPECT_EQ(recorder.events.back(), c.lastEvent) << c.path;
    EXPECT_LE(recorder.body.size(), kCap) << c.path;
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
  EXPECT_EQ(dropper.events, (std::vector<std::string>{"response 200"}));
  EXPECT_TRUE(dropper.body.empty());
}

TEST_F(UrlConnectionTest, NoDelegateCompletesSilently) {
  Recorder after;
  auto silent = net::UrlConnection::start(get(server.url("/hello")), nullptr);
  auto c = net::UrlConnection::start(get(server.url("/hello")), &after);
  EXPECT_TRUE(runUntil([&] { return after.done; }));
}

TEST_F(UrlConnectionTest, ManyConcurrentConnectionsShareOneWorker) {
  std::vector<Recorder> recorders(40);
  std::vector<std::unique_ptr<net::UrlConnection>> connections;
  for (auto& r : recorders)
    connections.push_back(net::UrlConnection::start(get(server.url("/hello")), &r));
  ASSERT_TRUE(runUntil([&] {
    for (auto& r : recorders)
      if (!r.done) return false;
    return true;
  }));
  for (auto& r : recorders) EXPECT_EQ(r.body, "hello world");
}

TEST_F(UrlConnectionTest, CookiesSetByAServerGoBackToIt) {
  server.server().Get("/set", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "visit=42; Path=/");
    res.set_content("ok", "text/plain");
  });
  server.server().Get("/cookie", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.get_header_value("Cookie"), "text/plain");
  });
  net::CookieStore::shared().removeAll();
  Recorder set, back;
  auto c1 = net::UrlConnection::start(get(server.url("/set")), &set);
  ASSERT_TRUE(runUntil([&] { return set.done; }));
  auto cookies = net::CookieStore::shared().cookiesForUrl(*net::Url::parse(server.url("/any")));
  ASSERT_EQ(cookies.size(), 1u);
  EXPECT_EQ(cookies[0].name, "visit");
  auto c2 = net::UrlConnection::start(get(server.url("/cookie")), &back);
  ASSERT_TRUE(runUntil([&] { return back.done; }));
  EXPECT_EQ(back.body, "visit=42");

  net::CookieStore::shared().deleteCookiesForUrl(*net::Url::parse(server.url("/")));
  EXPECT_TRUE(net::CookieStore::shared().cookies().empty());
}

// Both loaders offer gzip and deflate only, read compressed answers, and save a cookie the
// moment the transfer that set it ends (nothing is left to save at exit).
TEST_F(UrlConnectionTest, BothLoadersOfferGzipAndSaveNewCookiesAtOnce) {
  const std::string text(4000, 'v');
  std::string offered;
  server.server().Get("/text", [&](const httplib::Request& req, httplib::Response& res) {
    offered = req.get_header_value("Accept-Encoding");
    res.set_header("Set-Cookie", "kept=" + req.get_param_value("k") + "; Max-Age=3600; Path=/");
    res.set_content(text, "text/plain");
  });
  using Load = std::function<std::string(const std::string&)>;
  const struct {
    const char* name;
    Load load;
  } loaders[] = {
      {"asynchronous",
       [](const std::string& address) {
         Recorder recorder;
         auto connection = net::UrlConnection::start(get(address), &recorder);
         runUntil([&] { return recorder.done; });
         return recorder.body;
       }},
      {"synchronous",
       [](const std::string& address) {
         return net::UrlLoader::sendSynchronousRequest(get(address)).body;
       }},
  };
  const std::filesystem::path& file = net::CookieStore::shared().file();
  for (const auto& l : loaders) {
    offered.clear();
    std::string body = l.load(server.url("/text?k=") + l.name);
    EXPECT_EQ(body, text) << l.name;
    EXPECT_EQ(offered, "gzip, deflate") << l.name;
    EXPECT_NE(testing_support::readFile(file).find(std::string("kept\t") + l.name),
              std::string::npos)
        << l.name;
  }
  net::CookieStore::shared().removeAll();
}

}  // namespace
