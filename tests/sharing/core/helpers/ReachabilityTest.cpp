#include "sharing/core/helpers/Reachability.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"

namespace {

// A network monitor the test sets by hand; its answers and change reports come on the loop.
class FakeMonitor : public net::NetworkMonitor {
 public:
  net::NetworkState state() override { return state_; }
  bool canReachAddress(const sockaddr_in&) override { return false; }
  void canReachHost(const std::string&, std::function<void(bool)>) override {}
  ListenerId addListener(std::function<void()> changed) override {
    listeners_[++next_] = std::move(changed);
    return next_;
  }
  void removeListener(ListenerId id) override { listeners_.erase(id); }
  void change(net::NetworkState state) {
    state_ = state;
    base::RunLoop::main().post([this] {
      for (auto& [id, changed] : listeners_) changed();
    });
  }

  net::NetworkState state_{true, net::Connectivity::Full, false};
  std::map<ListenerId, std::function<void()>> listeners_;
  ListenerId next_ = 0;
};

class ReachabilityTest : public ::testing::Test {
 protected:
  void SetUp() override { net::NetworkMonitor::setSharedForTesting(&monitor_); }
  void TearDown() override {
    base::RunLoop::main().runUntilIdle();
    net::NetworkMonitor::setSharedForTesting(nullptr);
  }
  FakeMonitor monitor_;
};

constexpr net::Connectivity kFull = net::Connectivity::Full;
constexpr net::Connectivity kPortal = net::Connectivity::Portal;

// Every state the monitor reports, through the flags it stands for. (Host names and the local
// network have no users in the program.)
TEST_F(ReachabilityTest, StatusFromWhatTheMonitorReports) {
  const std::pair<net::NetworkState, NetworkStatus> cases[] = {
      {{false, kFull, false}, NotReachable},
      {{true, kFull, false}, ReachableViaWiFi},
      {{true, kPortal, false}, NotReachable},
      {{true, kFull, true}, ReachableViaWWAN},
      {{true, kPortal, true}, ReachableViaWWAN}};
  auto internet = Reachability::reachabilityForInternetConnection();
  for (const auto& [state, status] : cases) {
    monitor_.state_ = state;
    EXPECT_EQ(internet->currentReachabilityStatus(), status)
        << state.available << int(state.connectivity) << state.metered;
  }
}

// Changes are posted with the notifier as the sender (the queue flusher looks for it), until it
// stops.
TEST_F(ReachabilityTest, ChangesArePostedUntilTheNotifierStops) {
  auto internet = Reachability::reachabilityForInternetConnection();
  std::vector<NetworkStatus> seen;
  auto token = base::NotificationCenter::defaultCenter().addObserver(
      kReachabilityChangedNotification, [&](const base::Notification& n) {
        auto* sender = n.objectAs<Reachability*>();
        if (sender && *sender == internet.get())
          seen.push_back(internet->currentReachabilityStatus());
      });
  ASSERT_TRUE(internet->startNotifier());
  monitor_.change({false, kFull, false});
  base::RunLoop::main().runUntilIdle();
  internet->stopNotifier();
  monitor_.change({true, kFull, false});
  base::RunLoop::main().runUntilIdle();
  EXPECT_EQ(seen, std::vector<NetworkStatus>{NotReachable});
}

}  // namespace
