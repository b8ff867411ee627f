#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

using base::RunLoop;
using Log = std::vector<std::string>;

// Timers run in order, exactly, until cancelled. Work on another thread takes no virtual time:
// timers due meanwhile wait for its result, both when running for a while and until a condition.
TEST(RunLoop, VirtualClockRunsTimersInOrderExactlyAndStandsStillForOutsideWork) {
  RunLoop loop;
  loop.setVirtualClock(true);
  Log fired;
  auto note = [&](std::string what) {
    return [&, what] { fired.push_back(what + "@" + std::to_string(loop.now())); };
  };
  loop.performAfter(0.2, note("b"));
  loop.performAfter(0.1, note("a"));
  loop.performAfter(0.2, note("c"));  // equal due times keep scheduling order
  loop.cancel(loop.performAfter(0.1, note("cancelled")));
  RunLoop::TimerId tick = loop.scheduleRepeating(0.15, note("tick"));
  { auto dropped = base::Timer::once(0.1, note("dropped timer"), loop); }
  base::Timer self;
  self = base::Timer::repeating(
      0.25, [&] { fired.push_back("self"), self.invalidate(); }, loop);
  loop.runUntilIdle();
  EXPECT_TRUE(fired.empty());
  loop.runFor(0.35);
  loop.cancel(tick);
  loop.runFor(5);
  for (bool untilCondition : {false, true}) {
    loop.performAfter(0.2, note("timer"));
    loop.beginOutsideWork();
    std::thread worker([&] {
      usleep(50000);
      loop.post([&] { loop.endOutsideWork(), note("result")(); });
    });
    if (untilCondition) loop.runUntilCondition([&] { return fired.size() == 10; });
    if (!untilCondition) loop.runFor(1);
    worker.join();
  }
  EXPECT_EQ(fired,
            (Log{"a@0.100000", "tick@0.150000", "b@0.200000", "c@0.200000", "self", "tick@0.300000",
                 "result@5.350000", "timer@5.550000", "result@6.350000", "timer@6.550000"}));
}

// Posts from another thread run in order on the loop. With the real clock, running for a while
// waits for timers.
TEST(RunLoop, PostsFromOtherThreadsAndRealTimers) {
  RunLoop loop;
  Log seen, expected;
  std::thread other([&, loopThread = std::this_thread::get_id()] {
    for (int i = 0; i < 50; ++i)
      loop.post([&seen, i, loopThread] {
        seen.push_back(std::this_thread::get_id() == loopThread ? std::to_string(i) : "elsewhere");
      });
  });
  EXPECT_TRUE(loop.runUntilCondition([&] { return seen.size() == 50; }, 5));
  other.join();
  loop.performAfter(0.05, [&] { seen.push_back("timer"); });
  loop.runFor(0.2);
  EXPECT_GE(loop.now(), 0.2);
  for (int i = 0; i < 50; ++i) expected.push_back(std::to_string(i));
  expected.push_back("timer");
  EXPECT_EQ(seen, expected);
}
