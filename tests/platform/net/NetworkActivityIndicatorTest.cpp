#include "platform/net/NetworkActivityIndicator.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

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
