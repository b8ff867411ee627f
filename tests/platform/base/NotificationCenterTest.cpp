#include "platform/base/NotificationCenter.h"

#include <gtest/gtest.h>

using base::Notification;
using base::NotificationCenter;

TEST(NotificationCenter, DeliversToLiveObserversOnlyInRegistrationOrder) {
  NotificationCenter center;
  std::vector<std::string> seen;
  auto a = center.addObserver("landscape", [&](const Notification& n) {
    const std::string* v = n.objectAs<std::string>();
    seen.push_back("a:" + (v ? *v : std::string("?")));
  });
  std::optional<base::ObserverToken> b =
      center.addObserver("landscape", [&](const Notification&) { seen.push_back("b"); });
  auto other = center.addObserver("reload", [&](const Notification&) { seen.push_back("r"); });
  center.post("landscape", std::string("YES"));
  b.reset();
  center.post("landscape", 42);
  EXPECT_EQ(seen, (std::vector<std::string>{"a:YES", "b", "a:?"}));
}

TEST(NotificationCenter, ObserverRemovedDuringDeliveryIsNotCalled) {
  NotificationCenter center;
  int second = 0;
  std::optional<base::ObserverToken> later;
  auto first = center.addObserver("x", [&](const Notification&) { later.reset(); });
  later = center.addObserver("x", [&](const Notification&) { ++second; });
  center.post("x");
  EXPECT_EQ(second, 0);
}
