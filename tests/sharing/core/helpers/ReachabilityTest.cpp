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
  bool canReachAddress(const sockaddr_in&) override { return linkLocal_; }
  void canReachHost(const std::string& host, std::function<void(bool)> answer) override {
    base::RunLoop::main().post([this, host, answer] { answer(hosts_[host]); });
  }
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
  bool linkLocal_ = false;
  std::map<std::string, bool> hosts_;
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

// Every state the monitor reports, through the flags it stands for.
TEST_F(ReachabilityTest, StatusFromWhatTheMonitorReports) {
  const struct {
    net::NetworkState state;
    bool linkLocal;
    NetworkStatus internet;
    bool connectionRequired;
    NetworkStatus localWiFi;
  } cases[] = {
      {{false, kFull, false}, true, NotReachable, false, NotReachable},
      {{true, kFull, false}, false, ReachableViaWiFi, false, NotReachable},
      {{true, kFull, false}, true, ReachableViaWiFi, false, ReachableViaWiFi},
      {{true, kPortal, false}, false, NotReachable, true, NotReachable},
      {{true, kFull, true}, false, ReachableViaWWAN, false, NotReachable},
      {{true, kPortal, true}, false, ReachableViaWWAN, true, NotReachable},
  };
  auto internet = Reachability::reachabilityForInternetConnection();
  auto local = Reachability::reachabilityForLocalWiFi();
  for (const auto& c : cases) {
    monitor_.state_ = c.state;
    monitor_.linkLocal_ = c.linkLocal;
    EXPECT_EQ(internet->currentReachabilityStatus(), c.internet) << (&c - cases);
    EXPECT_EQ(internet->connectionRequired(), c.connectionRequired) << (&c - cases);
    EXPECT_EQ(local->currentReachabilityStatus(), c.localWiFi) << (&c - cases);
  }
  EXPECT_FALSE(Reachability::reachabilityWithHostName(""));
}

// A host name is asked about in the background; until the answer its flags cannot be read.
TEST_F(ReachabilityTest, HostAnswersLater) {
  monitor_.hosts_ = {{"api.twitter.com", true}, {"nowhere.invalid", false}};
  auto twitter = Reachability::reachabilityWithHostName("api.twitter.com");
  auto nowhere = Reachability::reachabilityWithHostName("nowhere.invalid");
  EXPECT_EQ(twitter->currentReachabilityStatus(), NotReachable);
  base::RunLoop::main().runUntilIdle();
  EXPECT_EQ(twitter->currentReachabilityStatus(), ReachableViaWiFi);
  EXPECT_EQ(nowhere->currentReachabilityStatus(), NotReachable);
}

// Only changes of the status are posted, on the main loop, until the notifier stops.
TEST_F(ReachabilityTest, ChangesArePostedOnTheMainLoop) {
  auto internet = Reachability::reachabilityForInternetConnection();
  std::vector<NetworkStatus> seen;
  auto token = base::NotificationCenter::defaultCenter().addObserver(
      kReachabilityChangedNotification, [&](const base::Notification& n) {
        auto* sender = n.objectAs<Reachability*>();
        EXPECT_TRUE(sender && *sender == internet.get());
        seen.push_back(internet->currentReachabilityStatus());
      });
  ASSERT_TRUE(internet->startNotifier());
  monitor_.change({false, kFull, false});
  EXPECT_TRUE(seen.empty());
  for (net::NetworkState later : {net::NetworkState{false, kPortal, false}, {true, kFull, true}}) {
    base::RunLoop::main().runUntilIdle();
    monitor_.change(later);
  }
  base::RunLoop::main().runUntilIdle();
  internet->stopNotifier();
  monitor_.change({true, kFull, false});
  base::RunLoop::main().runUntilIdle();
  EXPECT_EQ(seen, (std::vector<NetworkStatus>{NotReachable, ReachableViaWWAN}));
}

}  // namespace
