#include "reader/screens/ThumbnailCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "platform/base/RunLoop.h"
#include "reader/screens/ThumbnailLoader.h"
#include "tests/support/LoopbackServer.h"

using testing_support::LoopbackServer;

namespace {

// Serves a small PNG under /pic..., bytes that are no picture under /bad..., and counts what
// was asked for by the raw request target.
class ThumbnailServer {
 public:
  ThumbnailServer() {
    png_ = graphics::Image::filled({4, 4}, graphics::Color::rgb(200, 0, 0))->pngData();
    // One request per connection: a kept-alive connection would hold one of the server's few
    // threads for seconds while other pictures wait.
    server_.server().set_keep_alive_max_count(1);
    server_.server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
      {
        std::lock_guard lock(mutex_);
        ++hits_[req.target];
      }
      if (req.path.rfind("/pic", 0) == 0) {
        res.set_content(png_, "image/png");
      } else {
        res.set_content("not a picture", "image/png");
      }
    });
    server_.start();
  }
  std::string url(const std::string& path) const { return server_.url(path); }
  int hits(const std::string& target) {
    std::lock_guard lock(mutex_);
    return hits_[target];
  }

 private:
  std::string png_;
  std::mutex mutex_;
  std::map<std::string, int> hits_;
  // Last, so it stops first: a request still in flight must not find the members gone.
  LoopbackServer server_;
};

class ThumbnailCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { base::RunLoop::main().reset(); }
  void TearDown() override { base::RunLoop::main().reset(); }
  ThumbnailServer server_;
  ThumbnailLoader loader_;
};

}  // namespace

TEST_F(ThumbnailCacheTest, FetchesOnceWithEscapedBlanksAndCachesUnderTheFeedsAddress) {
  int loaded = 0;
  auto cache = ThumbnailCache::create([&] { ++loaded; }, &loader_);
  const std::string address = server_.url("/pic one two.png");

  EXPECT_TRUE(cache->load(address));
  // The marker is there before the picture arrives: a second row does not fetch again.
  EXPECT_TRUE(cache->contains(address));
  EXPECT_EQ(cache->imageFor(address), nullptr);
  EXPECT_FALSE(cache->load(address));

  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return loaded == 1; }));
  ASSERT_NE(cache->imageFor(address), nullptr);
  EXPECT_EQ(cache->imageFor(address)->pixelWidth(), 4);
  EXPECT_EQ(server_.hits("/pic%20one%20two.png"), 1);
  EXPECT_FALSE(cache->load(address));
  EXPECT_EQ(cache->size(), 1u);
}

TEST_F(ThumbnailCacheTest, PictureThatDoesNotDecodeIsNeverFetchedAgain) {
  int loaded = 0;
  auto cache = ThumbnailCache::create([&] { ++loaded; }, &loader_);
  const std::string bad = server_.url("/bad.png");
  const std::string good = server_.url("/pic.png");
  cache->load(bad);
  cache->load(good);
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return loaded == 1; }));
  base::RunLoop::main().runFor(0.05);
  EXPECT_EQ(loaded, 1);
  EXPECT_TRUE(cache->contains(bad));
  EXPECT_EQ(cache->imageFor(bad), nullptr);
  EXPECT_FALSE(cache->load(bad));
  EXPECT_EQ(server_.hits("/bad.png"), 1);
}

TEST_F(ThumbnailCacheTest, UnreachableOrIllegalAddressesLeaveTheMarker) {
  auto cache = ThumbnailCache::create([] { ADD_FAILURE() << "nothing should load"; }, &loader_);
  cache->load("http://127.0.0.1:1/pic.png");
  cache->load("http://127.0.0.1/\xC3\xA1nh.png");
  cache->load("");
  base::RunLoop::main().runFor(0.3);
  EXPECT_EQ(cache->size(), 3u);
}

TEST_F(ThumbnailCacheTest, PictureArrivingAfterTheScreenWentAwayIsDropped) {
  std::atomic<bool> screenAlive{true};
  auto cache = ThumbnailCache::create([&] { EXPECT_TRUE(screenAlive); }, &loader_);
  cache->load(server_.url("/pic.png"));
  // The screen is popped once the request went out, before the decoded picture comes back. The
  // transfer runs on the main loop, so the loop runs until then.
  base::RunLoop::main().runUntilCondition([&] { return server_.hits("/pic.png") > 0; });
  screenAlive = false;
  cache.reset();
  base::RunLoop::main().runFor(0.2);
}

TEST_F(ThumbnailCacheTest, ManyPicturesAtOnceAllArriveDecodedOffTheMainThread) {
  const std::thread::id mainThread = std::this_thread::get_id();
  std::atomic<int> done{0}, decoded{0}, onMain{0};
  for (int i = 0; i < 40; ++i) {
    loader_.fetch(server_.url("/pic" + std::to_string(i) + ".png"), [&](graphics::ImagePtr image) {
      if (image) ++decoded;
      if (std::this_thread::get_id() == mainThread) ++onMain;
      ++done;
    });
  }
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return done == 40; }));
  EXPECT_EQ(decoded, 40);
  EXPECT_EQ(onMain, 0);
}
