#pragma once
#include <memory>

#include "platform/base/NotificationCenter.h"
#include "sharing/core/helpers/Reachability.h"

// While alive, flushes the offline queue: once at once, and again each time the internet can be
// reached after it could not. The window program keeps one. Main thread only.
class SHKOfflineQueueFlusher {
 public:
  SHKOfflineQueueFlusher();
  ~SHKOfflineQueueFlusher();
  SHKOfflineQueueFlusher(const SHKOfflineQueueFlusher&) = delete;
  SHKOfflineQueueFlusher& operator=(const SHKOfflineQueueFlusher&) = delete;

 private:
  void reachabilityChanged();

  std::unique_ptr<Reachability> reachability_;
  base::ObserverToken observer_;
  bool reachable_ = false;
};
