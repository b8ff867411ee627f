#include "platform/net/UrlLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/net/CookieStore.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

using net::Error;
using net::UrlLoader;
using net::UrlRequest;
using testing_support::LoopbackServer;

namespace {

UrlRequest requestFor(const std::string& address, double timeout = 5.0) {
  auto url = net::Url::parse(address);
  EXPECT_TRUE(url) << address;
  return UrlRequest(*url, UrlRequest::CachePolicy::ReloadIgnoringLocalCacheData, timeout);
}

}  // namespace

TEST(UrlLoader, SendsMethodHeadersAndBodyAndReturnsTheResponse) {
  LoopbackServer server;
  httplib::Request seen;
  server.server().Post("/post", [&](const httplib::Request& req, httplib::Response& res) {
    seen = req;
    res.set_header("X-Reply", "yes");
    res.set_content("thế giới", "text/plain; charset=utf-8");
  });
  server.start();

  UrlRequest request = requestFor(server.url("/post?q=1"));
  request.setHttpMethod("POST");
  request.setValue("Content-Type", "application/x-www-form-urlencoded");
  request.setValue("X-Token", "a");
  request.addValue("x-token", "b");
  request.setHttpBody("status=xin%20ch%C3%A0o");
  net::LoadResult result = UrlLoader::sendSynchronousRequest(request);

  ASSERT_TRUE(result.error.ok()) << result.error.description();
  EXPECT_EQ(seen.method, "POST");
  EXPECT_EQ(seen.body, "status=xin%20ch%C3%A0o");
  EXPECT_EQ(seen.get_header_value("X-Token"), "a, b");
  EXPECT_EQ(seen.get_param_value("q"), "1");
  EXPECT_FALSE(seen.has_header("Expect"));
  EXPECT_EQ(result.response.statusCode(), 200);
  EXPECT_EQ(result.response.valueForHeaderField("x-reply"), "yes");
  // The announced length is that of the bytes on the wire, which may be compressed.
  EXPECT_EQ(result.response.expectedContentLength(),
            std::stoll(result.response.valueForHeaderField("Content-Length")));
  EXPECT_EQ(result.body, "thế giới");
}

TEST(UrlLoader, FollowsRedirectsAndReportsTheFinalAddress) {
  LoopbackServer server;
  server.server().Get(
      "/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
  server.server().Get("/new", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<rss/>", "text/xml");
  });
  server.start();

  net::LoadResult result = UrlLoader::sendSynchronousRequest(requestFor(server.url("/old")));
  ASSERT_TRUE(result.error.ok());
  EXPECT_EQ(result.response.statusCode(), 200);
  EXPECT_EQ(result.response.url().absoluteString(), server.url("/new"));
  EXPECT_EQ(result.body, "<rss/>");
}

TEST(UrlLoader, AnHttpErrorStatusIsACompletedTransfer) {
  LoopbackServer server;
  server.server().Get("/fail", [](const httplib::Request&, httplib::Response& res) {
    res.status = 500;
    res.set_content("oops", "text/plain");
  });
  server.start();

  net::LoadResult result = UrlLoader::sendSynchronousRequest(requestFor(server.url("/fail")));
  EXPECT_TRUE(result.error.ok());
  EXPECT_EQ(result.response.statusCode(), 500);
  EXPECT_EQ(result.body, "oops");
}

TEST(UrlLoader, TransportFailuresComeBackAsErrors) {
  std::string refused = "http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/";
  net::LoadResult result = UrlLoader::sendSynchronousRequest(requestFor(refused));
  EXPECT_EQ(result.error.domain(), Error::kDomain);
  EXPECT_EQ(result.error.code(), Error::CannotConnectToHost);
  EXPECT_FALSE(result.error.description().empty());

  // Only web addresses are loaded; a local file is not.
  result = UrlLoader::sendSynchronousRequest(requestFor("file:///etc/passwd"));
  EXPECT_EQ(result.error.code(), Error::UnsupportedURL);
  EXPECT_TRUE(result.body.empty());

  result = UrlLoader::sendSynchronousRequest(UrlRequest());
  EXPECT_EQ(result.error.code(), Error::BadURL);
}

TEST(UrlLoader, StopsAtTheRequestTimeout) {
  LoopbackServer server;
  std::atomic<bool> release{false};
  server.server().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
    for (int i = 0; i < 300 && !release; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    res.set_content("late", "text/plain");
  });
  server.start();

  auto started = std::chrono::steady_clock::now();
  net::LoadResult result = UrlLoader::sendSynchronousRequest(requestFor(server.url("/slow"), 0.3));
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  release = true;
  EXPECT_EQ(result.error.code(), Error::TimedOut);
  EXPECT_LT(seconds, 2.5);
  EXPECT_TRUE(result.body.empty());
}

TEST(UrlLoader, RefusesBodiesOverTheCap) {
  LoopbackServer server;
  server.server().Get("/big", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(4096, 'x'), "text/plain");
  });
  server.server().Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
      if (offset >= 64 * 1024) {
        sink.done();
        return true;
      }
      std::string chunk(1024, 'y');
      return sink.write(chunk.data(), chunk.size());
    });
  });
  server.start();

  for (const char* path : {"/big", "/chunked"}) {
    net::LoadResult result = UrlLoader::sendSynchronousRequest(requestFor(server.url(path)), 1000);
    EXPECT_EQ(result.error.code(), Error::DataLengthExceedsMaximum) << path;
    EXPECT_TRUE(result.body.empty()) << path;
  }
  net::LoadResult fits = UrlLoader::sendSynchronousRequest(requestFor(server.url("/big")), 4096);
  EXPECT_TRUE(fits.error.ok());
  EXPECT_EQ(fits.body.size(), 4096u);
}

TEST(UrlLoader, RejectsHeaderFieldsThatWouldForgeOthers) {
  LoopbackServer server;
  std::atomic<int> hits{0};
  server.server().Get("/", [&](const httplib::Request&, httplib::Response&) { ++hits; });
  server.start();

  UrlRequest request = requestFor(server.url("/"));
  request.setValue("X-Name", "a\r\nX-Admin: 1");
  net::LoadResult result = UrlLoader::sendSynchronousRequest(request);
  EXPECT_EQ(result.error.code(), Error::BadURL);
  EXPECT_EQ(hits, 0);
}

TEST(UrlLoader, KeepsCookiesInTheSharedStore) {
  testing_support::TempDir dir;
  LoopbackServer server;
  server.server().Get("/set", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "visit=7; Path=/");
    res.set_content("ok", "text/plain");
  });
  server.server().Get("/cookie", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.get_header_value("Cookie"), "text/plain");
  });
  server.start();
  net::CookieStore& store = net::CookieStore::shared();
  store.removeAll();

  ASSERT_TRUE(UrlLoader::sendSynchronousRequest(requestFor(server.url("/set"))).error.ok());
  auto cookies = store.cookiesForUrl(*net::Url::parse(server.url("/any")));
  ASSERT_EQ(cookies.size(), 1u);
  EXPECT_EQ(cookies[0].value, "7");
  // A cookie put in the store elsewhere goes out with the next synchronous request too.
  store.setCookie({.domain = "127.0.0.1", .name = "lang", .value = "vi"});
  net::LoadResult back = UrlLoader::sendSynchronousRequest(requestFor(server.url("/cookie")));
  EXPECT_NE(back.body.find("visit=7"), std::string::npos) << back.body;
  EXPECT_NE(back.body.find("lang=vi"), std::string::npos) << back.body;

  store.removeAll();
}

TEST(UrlLoader, LoadsFromSeveralThreadsAtOnce) {
  LoopbackServer server;
  server.server().Get("/n", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.get_param_value("i"), "text/plain");
  });
  server.start();

  std::vector<std::thread> threads;
  std::vector<std::string> bodies(4);
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&, i] {
      bodies[i] =
          UrlLoader::sendSynchronousRequest(requestFor(server.url("/n?i=" + std::to_string(i))))
              .body;
    });
  }
  for (auto& t : threads) t.join();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bodies[i], std::to_string(i));
}
