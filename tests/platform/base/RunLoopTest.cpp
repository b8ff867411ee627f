#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>
#include <poll.h>
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

// Posts from another thread run in order on the loop, and ready descriptors' handlers there too;
// both make pollFd() readable for an outer loop. A descriptor closed while watched may come back
// under its number and be watched again. With the real clock, running for a while waits for timers.
TEST(RunLoop, PostsWatchedDescriptorsAndRealTimers) {
  RunLoop loop;
  auto pollable = [entry = pollfd{loop.pollFd(), POLLIN, 0}]() mutable {
    return poll(&entry, 1, 0) == 1;
  };
  Log seen, expected;
  std::thread other([&, loopThread = std::this_thread::get_id()] {
    for (int i = 0; i < 50; ++i)
      loop.post([&seen, i, loopThread] {
        seen.push_back(std::this_thread::get_id() == loopThread ? std::to_string(i) : "elsewhere");
      });
  });
  EXPECT_TRUE(loop.runUntilCondition([&] { return seen.size() == 50; }, 5));
  other.join();
  std::thread([&] { loop.post([] {}); }).join();
  EXPECT_TRUE(pollable());
  for (int round = 0; round < 2; ++round) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    loop.watch(ends[0], RunLoop::kReadable, [&](int events) {
      char c;
      if (read(ends[0], &c, 1) == 1) seen.push_back(std::string(1, c) + std::to_string(events));
    });
    (void)!write(ends[1], "a", 1);
    EXPECT_TRUE(pollable());
    loop.runUntilIdle();
    EXPECT_FALSE(pollable());
    // The first round's descriptor, closed while watched, comes back under its number.
    if (round == 1) loop.unwatch(ends[0]);
    (void)!write(ends[1], "b", 1);
    EXPECT_EQ(pollable(), round == 0);
    loop.runUntilIdle();
    close(ends[0]);
    close(ends[1]);
  }
  loop.performAfter(0.05, [&] { seen.push_back("timer"); });
  loop.runFor(0.2);
  EXPECT_GE(loop.now(), 0.2);
  for (int i = 0; i < 50; ++i) expected.push_back(std::to_string(i));
  expected.insert(expected.end(), {"a1", "b1", "a1", "timer"});
  EXPECT_EQ(seen, expected);
}
