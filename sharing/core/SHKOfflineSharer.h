#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKSharerDelegate.h"

// One queued share, run as an operation of the offline queue: its thread waits while the share
// runs, quietly, through its service on the main loop, and ends once the share has an outcome,
// is dropped (no login, unknown service) or could not start.
class SHKOfflineSharer : public SHKSharerDelegate,
                         public std::enable_shared_from_this<SHKOfflineSharer> {
 public:
  SHKOfflineSharer(std::shared_ptr<SHKItem> item, std::string sharerId, std::string uid);

  // On the operation's thread: hands share() to the main loop and waits until finish().
  void main();
  // On the main loop.
  void share();
  void finish();
  bool shouldRun() const;

  void sharerFinishedSending(SHKSharer& sharer) override;
  void sharerFailedWithError(SHKSharer& sharer, const SHKError&, bool) override;
  void sharerCancelledSending(SHKSharer& sharer) override;

  const std::string& sharerId() const { return sharerId_; }
  const std::string& uid() const { return uid_; }

 private:
  // Loads the entry's body file into the item and deletes it.
  void loadBody();

  std::shared_ptr<SHKItem> item_;
  const std::string sharerId_;
  const std::string uid_;
  mutable std::mutex mutex_;
  std::condition_variable done_;
  bool readyToFinish_ = false;
  // Main loop only: the service doing the share, and this object while it does.
  std::shared_ptr<SHKSharer> sharer_;
  std::shared_ptr<SHKOfflineSharer> self_;
};
