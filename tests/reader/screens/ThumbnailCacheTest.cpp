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

TEST_F(ThumbnailCacheTest, FetchesOnceWithEscapedBlanksAndCachesUnderTheFeedsAddress) {
  int loaded = 0;
  auto cache = ThumbnailCache::create([&] { ++loaded; }, &loader_);
  const std::string address = site_.url("/pic one two.png");
  EXPECT_TRUE(cache->load(address));
  // The marker is there before the picture arrives: a second row does not fetch again.
  EXPECT_EQ(cache->imageFor(address), nullptr);
  EXPECT_FALSE(cache->load(address));
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return loaded == 1; }));
  EXPECT_NE(cache->imageFor(address), nullptr);
  EXPECT_EQ(site_.hits("/pic%20one%20two.png"), 1);
  EXPECT_FALSE(cache->load(address));
}

TEST_F(ThumbnailCacheTest, PictureThatDoesNotDecodeIsNeverFetchedAgain) {
  int loaded = 0;
  auto cache = ThumbnailCache::create([&] { ++loaded; }, &loader_);
  const std::string bad = site_.url("/bad/x.png");
  cache->load(bad);
  cache->load(site_.url("/pic.png"));
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return loaded == 1; }));
  base::RunLoop::main().runFor(0.05);
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(cache->imageFor(bad), nullptr);
  EXPECT_FALSE(cache->load(bad));
  EXPECT_EQ(site_.hits("/bad/x.png"), 1);
}

TEST_F(ThumbnailCacheTest, UnreachableOrIllegalAddressesLeaveTheMarker) {
  auto cache = ThumbnailCache::create([] { ADD_FAILURE() << "nothing should load"; }, &loader_);
  for (const char* address : {"http://127.0.0.1:1/pic.png", "http://127.0.0.1/\xC3\xA1nh.png", ""})
    cache->load(address);
  base::RunLoop::main().runFor(0.3);
  EXPECT_EQ(cache->size(), 3u);
}

TEST_F(ThumbnailCacheTest, PictureArrivingAfterTheScreenWentAwayIsDropped) {
  std::atomic<bool> screenAlive{true};
  auto cache = ThumbnailCache::create([&] { EXPECT_TRUE(screenAlive); }, &loader_);
  cache->load(site_.url("/pic.png"));
  // The screen is popped before the worker's result reaches the main loop.
  while (site_.hits("/pic.png") == 0) std::this_thread::yield();
  screenAlive = false;
  cache.reset();
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
