#include "reader/screens/ThumbnailCache.h"

#include <atomic>
#include <thread>

#include "reader/screens/ThumbnailLoader.h"
#include "tests/reader/screens/ScreenTestSupport.h"

namespace {

class ThumbnailCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { base::RunLoop::main().reset(); }
  void TearDown() override { base::RunLoop::main().reset(); }
  screen_testing::StorySite site_;
  ThumbnailLoader loader_;
};

}  // namespace

// Each address is fetched once, with its blanks escaped, and cached under the feed's form; the
// marker set at once keeps a second row from fetching it again, and so does a failed decoding.
// Unreachable and illegal addresses leave the marker too.
TEST_F(ThumbnailCacheTest, EachPictureIsFetchedOnceAndCachedUnderTheFeedsAddress) {
  int loaded = 0;
  auto cache = ThumbnailCache::create([&] { ++loaded; }, &loader_);
  const std::string address = site_.url("/pic one two.png"), bad = site_.url("/bad/x.png");
  for (const std::string& other : {bad, std::string("http://127.0.0.1:1/p.png"),
                                   std::string("http://127.0.0.1/\xC3\xA1nh.png"), std::string()})
    EXPECT_TRUE(cache->load(other));
  EXPECT_TRUE(cache->load(address));
  EXPECT_FALSE(cache->load(address));
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return loaded == 1; }));
  base::RunLoop::main().runFor(0.3);
  EXPECT_EQ(loaded, 1);
  EXPECT_NE(cache->imageFor(address), nullptr);
  EXPECT_EQ(cache->imageFor(bad), nullptr);
  EXPECT_EQ(cache->size(), 5u);
  EXPECT_FALSE(cache->load(address) || cache->load(bad));
  EXPECT_EQ(site_.hits("/pic%20one%20two.png") + site_.hits("/bad/x.png"), 2);
}

TEST_F(ThumbnailCacheTest, PictureArrivingAfterTheScreenWentAwayIsDropped) {
  std::atomic<bool> screenAlive{true};
  auto cache = ThumbnailCache::create([&] { EXPECT_TRUE(screenAlive); }, &loader_);
  cache->load(site_.url("/pic.png"));
  // The screen goes away before the picture comes back: the transfer runs on the main loop.
  screenAlive = false;
  cache.reset();
  base::RunLoop::main().runUntilCondition([&] { return site_.hits("/pic.png") > 0; });
  base::RunLoop::main().runFor(0.2);
}

TEST_F(ThumbnailCacheTest, ManyPicturesAtOnceAllArriveDecodedOffTheMainThread) {
  const std::thread::id mainThread = std::this_thread::get_id();
  std::atomic<int> done{0}, decoded{0}, onMain{0};
  for (int i = 0; i < 40; ++i) {
    loader_.fetch(site_.url("/pic" + std::to_string(i) + ".png"), [&](graphics::ImagePtr image) {
      decoded += image != nullptr;
      onMain += std::this_thread::get_id() == mainThread;
      ++done;
    });
  }
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return done == 40; }));
  EXPECT_EQ(decoded, 40);
  EXPECT_EQ(onMain, 0);
}
