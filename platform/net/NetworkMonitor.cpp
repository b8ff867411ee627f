#include "platform/net/NetworkMonitor.h"

#include <arpa/inet.h>
#include <gio/gio.h>

#include <map>
#include <memory>
#include <mutex>

#include "platform/base/RunLoop.h"

namespace net {
namespace {

std::mutex testMonitorMutex;
NetworkMonitor* testMonitor = nullptr;

// GLib's monitor. Its signals come through the GLib main context (pumped by the program's
// GTK loop); each is passed on to the main run loop.
class GioNetworkMonitor : public NetworkMonitor {
 public:
  GioNetworkMonitor() : monitor_(g_network_monitor_get_default()) {
    for (const char* signal :
         {"network-changed", "notify::connectivity", "notify::network-metered"}) {
      g_signal_connect_swapped(monitor_, signal, G_CALLBACK(&GioNetworkMonitor::onChange), this);
    }
  }

  NetworkState state() override {
    NetworkState state;
    state.available = g_network_monitor_get_network_available(monitor_);
    state.connectivity = static_cast<Connectivity>(g_network_monitor_get_connectivity(monitor_));
    state.metered = g_network_monitor_get_network_metered(monitor_);
    return state;
  }

  bool canReachAddress(const sockaddr_in& address) override {
    GSocketAddress* socketAddress =
        g_socket_address_new_from_native(const_cast<sockaddr_in*>(&address), sizeof address);
    if (!socketAddress) return false;
    // A numeric address: the monitor only looks at its routes.
    gboolean reachable = g_network_monitor_can_reach(monitor_, G_SOCKET_CONNECTABLE(socketAddress),
                                                     nullptr, nullptr);
    g_object_unref(socketAddress);
    return reachable;
  }

  void canReachHost(const std::string& host, std::function<void(bool)> answer) override {
    GSocketConnectable* connectable = g_network_address_new(host.c_str(), 80);
    auto* pending = new std::function<void(bool)>(std::move(answer));
    g_network_monitor_can_reach_async(
        monitor_, connectable, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
          std::unique_ptr<std::function<void(bool)>> answer(
              static_cast<std::function<void(bool)>*>(data));
          bool reachable =
              g_network_monitor_can_reach_finish(G_NETWORK_MONITOR(source), result, nullptr);
          base::RunLoop::main().post(
              [answer = std::move(*answer), reachable] { answer(reachable); });
        },
        pending);
    g_object_unref(connectable);
  }

  ListenerId addListener(std::function<void()> changed) override {
    std::lock_guard lock(mutex_);
    listeners_[++nextId_] = std::move(changed);
    return nextId_;
  }

  void removeListener(ListenerId id) override {
    std::lock_guard lock(mutex_);
    listeners_.erase(id);
  }

 private:
  static void onChange(GioNetworkMonitor* self) {
    base::RunLoop::main().post([self] { self->notifyListeners(); });
  }

  void notifyListeners() {
    std::map<ListenerId, std::function<void()>> current;
    {
      std::lock_guard lock(mutex_);
      current = listeners_;
    }
    for (auto& [id, changed] : current) {
      bool stillListening;
      {
        std::lock_guard lock(mutex_);
        stillListening = listeners_.count(id) > 0;
      }
      if (stillListening) changed();
    }
  }

  GNetworkMonitor* monitor_;  // GLib's singleton, not owned
  std::mutex mutex_;
  std::map<ListenerId, std::function<void()>> listeners_;
  ListenerId nextId_ = 0;
};

}  // namespace

NetworkMonitor& NetworkMonitor::shared() {
  {
    std::lock_guard lock(testMonitorMutex);
    if (testMonitor) return *testMonitor;
  }
  // Never destroyed: GLib may still report to it at exit.
  static auto* monitor = new GioNetworkMonitor();
  return *monitor;
}

void NetworkMonitor::setSharedForTesting(NetworkMonitor* monitor) {
  std::lock_guard lock(testMonitorMutex);
  testMonitor = monitor;
}

}  // namespace net
