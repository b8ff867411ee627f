#include "sharing/core/SHKOfflineQueueFlusher.h"

#include "sharing/core/SHKOfflineQueue.h"

SHKOfflineQueueFlusher::SHKOfflineQueueFlusher()
    : reachability_(Reachability::reachabilityForInternetConnection()) {
  if (reachability_) {
    reachable_ = reachability_->currentReachabilityStatus() != NotReachable;
    observer_ = base::NotificationCenter::defaultCenter().addObserver(
        kReachabilityChangedNotification, [this](const base::Notification& notification) {
          auto* sender = notification.objectAs<Reachability*>();
          if (sender && *sender == reachability_.get()) reachabilityChanged();
        });
    reachability_->startNotifier();
  }
  SHKOfflineQueue::flushOfflineQueue();
}

SHKOfflineQueueFlusher::~SHKOfflineQueueFlusher() {
  if (reachability_) reachability_->stopNotifier();
}

void SHKOfflineQueueFlusher::reachabilityChanged() {
  bool reachable = reachability_->currentReachabilityStatus() != NotReachable;
  if (reachable && !reachable_) SHKOfflineQueue::flushOfflineQueue();
  reachable_ = reachable;
}
