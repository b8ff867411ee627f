#pragma once
#include <netinet/in.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/NetworkMonitor.h"

namespace net {

// Whether a host or an address can be reached, as flags in the platform's values, derived from
// the network monitor; with a callback after each change once scheduled. Main thread only.
class NetworkReachability {
 public:
  enum Flag : std::uint32_t {
    kReachable = 0x2,
    kConnectionRequired = 0x4,
    kConnectionOnTraffic = 0x8,
    kInterventionRequired = 0x10,
    kConnectionOnDemand = 0x20,
    kIsDirect = 0x20000,
    kIsWWAN = 0x40000,
  };

  // nullptr for an empty host name.
  static std::unique_ptr<NetworkReachability> createWithName(const std::string& host);
  // nullptr for anything but an IPv4 address.
  static std::unique_ptr<NetworkReachability> createWithAddress(const sockaddr_in& address);
  ~NetworkReachability();
  NetworkReachability(const NetworkReachability&) = delete;
  NetworkReachability& operator=(const NetworkReachability&) = delete;

  // The current flags; false when they cannot be read yet (a host name whose first answer has
  // not come).
  bool getFlags(std::uint32_t* flags) const;
  // The callback runs with the new flags on the main run loop after each change while
  // scheduled.
  void setCallback(std::function<void(std::uint32_t)> callback);
  bool schedule();
  void unschedule();

  // The flags of a reachable target in `state`: a captive portal needs the user to act, a
  // metered network counts as the cellular one; a link-local address is on a direct link.
  static std::uint32_t flagsFor(const NetworkState& state, bool reachable, bool direct);

 private:
  struct Shared;
  NetworkReachability();
  void refresh(bool report);

  std::optional<std::string> host_;
  sockaddr_in address_{};
  std::shared_ptr<Shared> shared_;
  NetworkMonitor::ListenerId listener_ = 0;
};

}  // namespace net
