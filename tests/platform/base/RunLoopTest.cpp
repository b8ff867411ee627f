#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using base::RunLoop;

TEST(RunLoop, VirtualClockFiresDelayedCallsInOrderAndExactly) {
  RunLoop loop;
  loop.setVirtualClock(true);
  std::vector<std::pair<int, double>> fired;
  loop.performAfter(0.2, [&] { fired.emplace_back(2, loop.now()); });
  loop.performAfter(0.1, [&] { fired.emplace_back(1, loop.now()); });
  loop.performAfter(0.2, [&] { fired.emplace_back(3, loop.now()); });
  loop.runUntilIdle();
  EXPECT_TRUE(fired.empty());
  loop.runFor(0.15);
  ASSERT_EQ(fired.size(), 1u);
  loop.runFor(0.05);
  ASSERT_EQ(fired.size(), 3u);
  EXPECT_EQ(fired[1].first, 2);  // equal due times keep scheduling order
  EXPECT_EQ(fired[2].first, 3);
  EXPECT_DOUBLE_EQ(fired[2].second, 0.2);
}

TEST(RunLoop, RepeatingTimerAndCancel) {
  RunLoop loop;
  loop.setVirtualClock(true);
  int ticks = 0;
  RunLoop::TimerId id = loop.scheduleRepeating(1.0, [&] { ++ticks; });
  loop.runFor(3.5);
  EXPECT_EQ(ticks, 3);
  loop.cancel(id);
  loop.runFor(5);
  EXPECT_EQ(ticks, 3);
}

TEST(RunLoop, TimerObjectCancelsOnDestructionAndCanStopItselfFromInside) {
  RunLoop loop;
  loop.setVirtualClock(true);
  int a = 0, b = 0;
  {
    auto t = base::Timer::once(
        1, [&] { ++a; }, loop);
  }
  base::Timer self;
  self = base::Timer::repeating(
      1,
      [&] {
        if (++b == 2) self.invalidate();
      },
      loop);
  loop.runFor(10);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 2);
}

TEST(RunLoop, TasksPostedFromOtherThreadsRunOnTheLoopThread) {
  RunLoop loop;
  std::vector<int> order;
  std::thread::id loopThread = std::this_thread::get_id();
  bool allOnLoop = true;
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i)
      loop.post([&, i] {
        order.push_back(i);
        allOnLoop = allOnLoop && std::this_thread::get_id() == loopThread;
      });
  });
  EXPECT_TRUE(loop.runUntilCondition([&] { return order.size() == 100; }, 5));
  worker.join();
  EXPECT_TRUE(allOnLoop);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
}

TEST(RunLoop, RealClockRunForWaitsForTimers) {
  RunLoop loop;
  bool fired = false;
  loop.performAfter(0.05, [&] { fired = true; });
  loop.runFor(0.2);
  EXPECT_TRUE(fired);
  EXPECT_GE(loop.now(), 0.2);
}

// Work on another thread takes no virtual time: timers due meanwhile wait for its result, both
// when running for a while and when running until a condition.
TEST(RunLoop, VirtualClockStandsStillForOutsideWork) {
  for (bool untilCondition : {false, true}) {
    SCOPED_TRACE(untilCondition ? "runUntilCondition" : "runFor");
    RunLoop loop;
    loop.setVirtualClock(true);
    std::vector<std::string> order;
    loop.performAfter(0.2, [&] { order.push_back("timer"); });
    loop.beginOutsideWork();
    std::thread worker([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      loop.post([&] {
        loop.endOutsideWork();
        order.push_back("result at " + std::to_string(loop.now()));
      });
    });
    if (untilCondition) {
      loop.runUntilCondition([&] { return order.size() == 2; });
    } else {
      loop.runFor(1);
    }
    worker.join();
    EXPECT_EQ(order, (std::vector<std::string>{"result at " + std::to_string(0.0), "timer"}));
  }
}
