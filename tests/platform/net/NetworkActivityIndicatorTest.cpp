#include "platform/net/NetworkActivityIndicator.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(NetworkActivityIndicator, ReportsOnlyChanges) {
  auto& indicator = net::NetworkActivityIndicator::shared();
  indicator.setVisible(false);
  std::vector<bool> seen;
  indicator.setChangeHandler([&](bool visible) { seen.push_back(visible); });
  indicator.setVisible(true);
  indicator.setVisible(true);
  EXPECT_TRUE(indicator.visible());
  indicator.setVisible(false);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  indicator.setChangeHandler(nullptr);
}

TEST(NetworkActivityIndicator, MayBeToggledFromSeveralThreads) {
  auto& indicator = net::NetworkActivityIndicator::shared();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        indicator.setVisible(i % 2 == 0);
        (void)indicator.visible();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  indicator.setVisible(false);
  EXPECT_FALSE(indicator.visible());
}
