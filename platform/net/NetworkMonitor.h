#pragma once
#include <netinet/in.h>

#include <cstdint>
#include <functional>
#include <string>

namespace net {

// How far the desktop's network reaches (GLib's GNetworkConnectivity values).
enum class Connectivity { Local = 1, Limited = 2, Portal = 3, Full = 4 };

struct NetworkState {
  bool available = false;  // a default route exists
  Connectivity connectivity = Connectivity::Local;
  bool metered = false;  // a network the user pays by use for (mobile broadband)
};

// What the desktop reports about the network: its state, whether an address can be reached,
// and changes. Answers and change reports arrive on the main run loop. The program's monitor
// stands on GLib's GNetworkMonitor, whose reports come through the GLib main context; tests
// install one of their own, so the machine's network never decides a test.
class NetworkMonitor {
 public:
  using ListenerId = std::uint64_t;
  virtual ~NetworkMonitor() = default;

  // The monitor in use: the one installed for tests, else GLib's.
  static NetworkMonitor& shared();
  static void setSharedForTesting(NetworkMonitor* monitor);

  virtual NetworkState state() = 0;
  // Whether a numeric address has a route; no name lookup, so it may run on the main loop.
  virtual bool canReachAddress(const sockaddr_in& address) = 0;
  // Asks in the background whether `host` can be reached (this may look the name up);
  // `answer` runs later on the main run loop.
  virtual void canReachHost(const std::string& host, std::function<void(bool)> answer) = 0;
  // `changed` runs on the main run loop after each change of the state.
  virtual ListenerId addListener(std::function<void()> changed) = 0;
  virtual void removeListener(ListenerId id) = 0;
};

}  // namespace net
