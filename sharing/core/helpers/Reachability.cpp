#include "sharing/core/helpers/Reachability.h"

#include <arpa/inet.h>

#include "platform/base/NotificationCenter.h"

using Flag = net::NetworkReachability::Flag;

namespace {

sockaddr_in ipv4(uint32_t hostOrderAddress) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(hostOrderAddress);
  return address;
}

}  // namespace

std::unique_ptr<Reachability> Reachability::reachabilityWithHostName(const std::string& host) {
  auto handle = net::NetworkReachability::createWithName(host);
  if (!handle) return nullptr;
  return std::unique_ptr<Reachability>(new Reachability(std::move(handle)));
}

std::unique_ptr<Reachability> Reachability::reachabilityWithAddress(const sockaddr_in& address) {
  auto handle = net::NetworkReachability::createWithAddress(address);
  if (!handle) return nullptr;
  return std::unique_ptr<Reachability>(new Reachability(std::move(handle)));
}

std::unique_ptr<Reachability> Reachability::reachabilityForInternetConnection() {
  return reachabilityWithAddress(ipv4(INADDR_ANY));
}

std::unique_ptr<Reachability> Reachability::reachabilityForLocalWiFi() {
  auto reachability = reachabilityWithAddress(ipv4(0xa9fe0000u));  // 169.254.0.0
  if (reachability) reachability->localWiFiRef_ = true;
  return reachability;
}

bool Reachability::startNotifier() {
  reachabilityRef_->setCallback([this](std::uint32_t) {
    base::NotificationCenter::defaultCenter().post(kReachabilityChangedNotification, this);
  });
  return reachabilityRef_->schedule();
}

void Reachability::stopNotifier() {
  reachabilityRef_->unschedule();
}

NetworkStatus Reachability::networkStatusForFlags(std::uint32_t flags) {
  if (!(flags & Flag::kReachable)) return NotReachable;
  if (flags & Flag::kIsWWAN) return ReachableViaWWAN;
  if (!(flags & Flag::kConnectionRequired)) return ReachableViaWiFi;
  if ((flags & (Flag::kConnectionOnTraffic | Flag::kConnectionOnDemand)) &&
      !(flags & Flag::kInterventionRequired))
    return ReachableViaWiFi;
  return NotReachable;
}

NetworkStatus Reachability::localWiFiStatusForFlags(std::uint32_t flags) {
  bool both = (flags & Flag::kReachable) && (flags & Flag::kIsDirect);
  return both ? ReachableViaWiFi : NotReachable;
}

NetworkStatus Reachability::currentReachabilityStatus() const {
  std::uint32_t flags = 0;
  if (!reachabilityRef_->getFlags(&flags)) return NotReachable;
  return localWiFiRef_ ? localWiFiStatusForFlags(flags) : networkStatusForFlags(flags);
}

bool Reachability::connectionRequired() const {
  std::uint32_t flags = 0;
  return reachabilityRef_->getFlags(&flags) && (flags & Flag::kConnectionRequired);
}
