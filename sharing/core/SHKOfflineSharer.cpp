#include "sharing/core/SHKOfflineSharer.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "sharing/core/SHKSharer.h"

SHKOfflineSharer::SHKOfflineSharer(std::shared_ptr<SHKItem> item, std::string sharerId,
                                   std::string uid)
    : item_(std::move(item)), sharerId_(std::move(sharerId)), uid_(std::move(uid)) {}

bool SHKOfflineSharer::shouldRun() const {
  std::lock_guard lock(mutex_);
  return !readyToFinish_;
}

void SHKOfflineSharer::main() {
  if (!shouldRun()) return;
  base::RunLoop::main().post([self = shared_from_this()] { self->share(); });
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return readyToFinish_; });
}

void SHKOfflineSharer::loadBody() {
  if (item_->shareType() != SHKShareTypeImage && item_->shareType() != SHKShareTypeFile) return;
  std::ifstream in(SHKOfflineQueue::offlineQueuePath() / uid_, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A missing or unreadable body leaves the item without one; the service refuses it then.
  if (!in.good() && !in.eof()) return;
  if (item_->shareType() == SHKShareTypeImage) {
    item_->setImage(graphics::Image::fromData(bytes));
  } else {
    item_->setData(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }
}

void SHKOfflineSharer::share() {
  self_ = shared_from_this();
  // As it was queued: the service may change the item on its way.
  entry_ = item_->dictionaryRepresentation();
  sharer_ = SHKSharer::create(sharerId_);
  if (!sharer_) return finish();
  sharer_->setItem(item_);
  sharer_->setQuiet(true);
  sharer_->setShareDelegate(this);
  // The login was removed since: the entry is dropped, its body with it.
  if (!sharer_->isAuthorized()) return finish();
  if (sharer_->requiresWindow() && !mayShowScreens(*sharer_)) return;
  if (sharer_->shareRequiresInternetConnection() && !SHK::connected()) {
    // Offline again: the entry waits for the next flush as it was.
    putBack();
    return finish();
  }
  loadBody();
  bool started = sharer_->tryToSend();
  // Ended already: an outcome, a screen handed over, or kept for the window.
  if (!shouldRun()) return;
  // Pages of its own (not the framework's screens) are the user's from the start.
  if (sharer_->requiresWindow()) return handOver(*sharer_);
  if (started) return;
  // A service that could not send may still work towards a screen (a link shortened first).
  if (sharer_->request()) return waitForRequest();
  finish();
}

void SHKOfflineSharer::handOver(SHKSharer& sharer) {
  finish();
  sharer.setQuiet(false);
  sharer.setShareDelegate(&sharer);
}

bool SHKOfflineSharer::mayShowScreens(SHKSharer& sharer) {
  auto& helper = SHK::currentHelper();
  if (!helper.canShowViewController()) {
    keepForWindow(sharer);
    return false;
  }
  if (helper.currentView() || helper.pendingView()) {
    // The person is busy with another screen: this share waits for a later flush.
    putBack();
    finish();
    return false;
  }
  return true;
}

void SHKOfflineSharer::putBack() {
  kept_ = SHKOfflineQueue::putBack(entry_, sharerId_, uid_);
  if (!kept_) base::log("Offline queue: " + uid_ + " could not be put back");
}

void SHKOfflineSharer::keepForWindow(SHKSharer& sharer) {
  putBack();
  sharer.sendDidFailWithError(
      kept_ ? SHK::error("%@ can share this only in the window; it stays in the queue.",
                         sharer.sharerTitle())
            : SHK::error("%@ can share this only in the window.", sharer.sharerTitle()));
  finish();
}

void SHKOfflineSharer::waitForRequest() {
  base::RunLoop::main().performAfter(kRequestCheckSeconds, [weak = weak_from_this()] {
    auto self = weak.lock();
    if (!self || !self->shouldRun()) return;
    if (self->sharer_ && self->sharer_->request()) return self->waitForRequest();
    self->finish();
  });
}

void SHKOfflineSharer::finish() {
  {
    std::lock_guard lock(mutex_);
    if (readyToFinish_) return;
    readyToFinish_ = true;
  }
  done_.notify_all();
  if (!kept_) SHKOfflineQueue::removeBodyFile(uid_);
  if (sharer_) sharer_->setShareDelegate(nullptr);
  // Released on the next turn: this may be inside one of the service's calls.
  base::RunLoop::main().post([sharer = std::move(sharer_), self = std::move(self_)]() mutable {});
}

void SHKOfflineSharer::sharerFinishedSending(SHKSharer&) {
  finish();
}

void SHKOfflineSharer::sharerFailedWithError(SHKSharer&, const SHKError&, bool) {
  finish();
}

void SHKOfflineSharer::sharerCancelledSending(SHKSharer&) {
  finish();
}

bool SHKOfflineSharer::sharerWillPresentScreen(SHKSharer& sharer) {
  if (!shouldRun()) return true;
  if (!mayShowScreens(sharer)) return false;
  handOver(sharer);
  return true;
}
