#include "platform/net/UrlLoader.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/support/LoopbackServer.h"

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

// What both loaders share is tested over both in UrlConnectionTest; these are the loader's own.
TEST(UrlLoader, OnlyWebAddressesAreLoaded) {
  net::LoadResult result = UrlLoader::sendSynchronousRequest(requestFor("file:///etc/passwd"));
  EXPECT_EQ(result.error.code(), Error::UnsupportedURL);
  EXPECT_TRUE(result.body.empty());
  EXPECT_EQ(UrlLoader::sendSynchronousRequest(UrlRequest()).error.code(), Error::BadURL);
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
