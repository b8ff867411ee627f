#pragma once
#include <netinet/in.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/net/NetworkReachability.h"

enum NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

// Posted on the main run loop after each change of a started notifier, with the Reachability*
// as its object.
inline constexpr const char* kReachabilityChangedNotification =
    "kNetworkReachabilityChangedNotification";

// Whether the internet, a host, or the local link can be reached, and through what kind of
// network. Main thread only.
class Reachability {
 public:
  // Each is nullptr when no handle can be made for the target.
  static std::unique_ptr<Reachability> reachabilityWithHostName(const std::string& host);
  static std::unique_ptr<Reachability> reachabilityWithAddress(const sockaddr_in& address);
  // The all-zero IPv4 address.
  static std::unique_ptr<Reachability> reachabilityForInternetConnection();
  // The link-local network 169.254.0.0, judged by localWiFiStatusForFlags.
  static std::unique_ptr<Reachability> reachabilityForLocalWiFi();

  bool localWiFiRef() const { return localWiFiRef_; }

  bool startNotifier();
  void stopNotifier();

  NetworkStatus currentReachabilityStatus() const;
  // The connection-required flag now; false when the flags cannot be read.
  bool connectionRequired() const;

  static NetworkStatus networkStatusForFlags(std::uint32_t flags);
  static NetworkStatus localWiFiStatusForFlags(std::uint32_t flags);

 private:
  explicit Reachability(std::unique_ptr<net::NetworkReachability> handle)
      : reachabilityRef_(std::move(handle)) {}

  bool localWiFiRef_ = false;
  std::unique_ptr<net::NetworkReachability> reachabilityRef_;
};
