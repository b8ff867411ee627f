#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/store/Plist.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKSharerDelegate.h"

// One queued share, run as an operation of the offline queue: its thread waits while the share
// runs, quietly, through its service on the main loop, and ends once the share has an outcome,
// is dropped (no login, unknown service) or could not start. A share that needs the user (a
// form, a page) is handed to the user when the window is free; while another screen is up it
// goes back into the list as it was, its body file kept, for a later flush; without a window it
// does too, and fails, saying so.
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
  bool sharerWillPresentScreen(SHKSharer& sharer) override;

  const std::string& sharerId() const { return sharerId_; }
  const std::string& uid() const { return uid_; }

 private:
  // Loads the entry's body file into the item; the file goes when the operation ends.
  void loadBody();
  // The share is the user's now: it reports as any other, and the operation ends.
  void handOver(SHKSharer& sharer);
  // Whether the share may show its screens now: there is a window, and no other screen is up
  // there (it would be dismissed). When not, the entry goes back into the list.
  bool mayShowScreens(SHKSharer& sharer);
  // Puts the entry back into the list as it was queued, its body file kept.
  void putBack();
  // Puts the entry back and fails the share, saying that it needs the window.
  void keepForWindow(SHKSharer& sharer);
  // Ends the operation once the service's request is over without an outcome or a screen.
  void waitForRequest();

  static constexpr double kRequestCheckSeconds = 0.2;

  std::shared_ptr<SHKItem> item_;
  const std::string sharerId_;
  const std::string uid_;
  mutable std::mutex mutex_;
  std::condition_variable done_;
  bool readyToFinish_ = false;
  // Main loop only: the item as it was queued, and whether the entry went back into the list.
  store::Plist entry_ = store::Plist::dictionary();
  bool kept_ = false;
  // Main loop only: the service doing the share, and this object while it does.
  std::shared_ptr<SHKSharer> sharer_;
  std::shared_ptr<SHKOfflineSharer> self_;
};
