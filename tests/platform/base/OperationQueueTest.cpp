#include "platform/base/OperationQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace {

// Operations that block their threads never run more than the limit at once; all of them run,
// and the caller only waits when it asks to.
TEST(OperationQueueTest, RunsAllWithinTheLimit) {
  for (size_t limit : {1u, 4u}) {
    base::OperationQueue queue(limit);
    std::atomic<int> running = 0, most = 0, done = 0;
    for (int i = 0; i < 40; ++i) {
      queue.addOperation([&] {
        int now = ++running;
        for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        --running;
        ++done;
      });
    }
    EXPECT_GT(queue.operationCount(), 0u) << "adding does not wait for the operations";
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(done, 40);
    EXPECT_EQ(queue.operationCount(), 0u);
    EXPECT_LE(size_t(most), limit);
    EXPECT_LE(queue.peakThreadCount(), limit);
    // Later operations start threads again.
    queue.addOperation([&] { ++done; });
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(done, 41);
  }
}

TEST(OperationQueueTest, DestroyingDropsWhatHasNotStarted) {
  std::atomic<int> done = 0;
  {
    base::OperationQueue queue(1);
    for (int i = 0; i < 20; ++i) {
      queue.addOperation([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ++done;
      });
    }
  }
  EXPECT_LT(done, 20);
}

}  // namespace
