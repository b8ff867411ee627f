#include "platform/net/NetworkReachability.h"

#include <arpa/inet.h>

namespace net {

struct NetworkReachability::Shared {
  std::optional<bool> hostReachable;  // the last answer for a host name
  std::optional<std::uint32_t> lastFlags;
  std::function<void(std::uint32_t)> callback;
  bool scheduled = false;
};

namespace {

bool isLinkLocal(const sockaddr_in& address) {
  return (ntohl(address.sin_addr.s_addr) & 0xffff0000u) == 0xa9fe0000u;  // 169.254/16
}

}  // namespace

NetworkReachability::NetworkReachability() : shared_(std::make_shared<Shared>()) {}

NetworkReachability::~NetworkReachability() {
  unschedule();
}

std::unique_ptr<NetworkReachability> NetworkReachability::createWithName(const std::string& host) {
  if (host.empty()) return nullptr;
  std::unique_ptr<NetworkReachability> reachability(new NetworkReachability());
  reachability->host_ = host;
  reachability->refresh(false);
  return reachability;
}

std::unique_ptr<NetworkReachability> NetworkReachability::createWithAddress(
    const sockaddr_in& address) {
  if (address.sin_family != AF_INET) return nullptr;
  std::unique_ptr<NetworkReachability> reachability(new NetworkReachability());
  reachability->address_ = address;
  reachability->refresh(false);
  return reachability;
}

std::uint32_t NetworkReachability::flagsFor(const NetworkState& state, bool reachable,
                                            bool direct) {
  if (!reachable) return 0;
  std::uint32_t flags = kReachable;
  if (state.connectivity == Connectivity::Portal)
    flags |= kConnectionRequired | kInterventionRequired;
  if (state.metered) flags |= kIsWWAN;
  if (direct) flags |= kIsDirect;
  return flags;
}

bool NetworkReachability::getFlags(std::uint32_t* flags) const {
  NetworkMonitor& monitor = NetworkMonitor::shared();
  NetworkState state = monitor.state();
  if (host_) {
    if (!shared_->hostReachable) return false;
    *flags = flagsFor(state, state.available && *shared_->hostReachable, false);
    return true;
  }
  bool reachable = state.available &&
                   (address_.sin_addr.s_addr == INADDR_ANY || monitor.canReachAddress(address_));
  *flags = flagsFor(state, reachable, reachable && isLinkLocal(address_));
  return true;
}

void NetworkReachability::setCallback(std::function<void(std::uint32_t)> callback) {
  shared_->callback = std::move(callback);
}

bool NetworkReachability::schedule() {
  if (shared_->scheduled) return true;
  shared_->scheduled = true;
  std::uint32_t flags;
  if (getFlags(&flags)) shared_->lastFlags = flags;
  listener_ = NetworkMonitor::shared().addListener([this] { refresh(true); });
  return true;
}

void NetworkReachability::unschedule() {
  if (!shared_->scheduled) return;
  shared_->scheduled = false;
  NetworkMonitor::shared().removeListener(listener_);
  listener_ = 0;
}

// Reads the flags again; when scheduled and they changed, reports them. A host name is asked
// about in the background and reported when the answer comes.
void NetworkReachability::refresh(bool report) {
  auto reportIfChanged = [](Shared& shared, std::uint32_t flags) {
    if (!shared.scheduled || shared.lastFlags == flags) return;
    shared.lastFlags = flags;
    if (shared.callback) shared.callback(flags);
  };
  if (host_) {
    std::weak_ptr<Shared> weak = shared_;
    NetworkMonitor::shared().canReachHost(*host_, [weak, reportIfChanged](bool reachable) {
      auto shared = weak.lock();
      if (!shared) return;
      shared->hostReachable = reachable;
      NetworkState state = NetworkMonitor::shared().state();
      reportIfChanged(*shared, flagsFor(state, state.available && reachable, false));
    });
    return;
  }
  std::uint32_t flags;
  if (report && getFlags(&flags)) reportIfChanged(*shared_, flags);
}

}  // namespace net
