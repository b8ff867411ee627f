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
  std::filesystem::path file = SHKOfflineQueue::offlineQueuePath() / uid_;
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bool read = in.good() || in.eof();
  in.close();
  std::error_code ec;
  std::filesystem::remove(file, ec);
  // A missing or unreadable body leaves the item without one; the service refuses it then.
  if (!read) return;
  if (item_->shareType() == SHKShareTypeImage) {
    item_->setImage(graphics::Image::fromData(bytes));
  } else {
    item_->setData(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }
}

void SHKOfflineSharer::share() {
  self_ = shared_from_this();
  sharer_ = SHKSharer::create(sharerId_);
  if (!sharer_) {
    SHKOfflineQueue::removeBodyFile(uid_);
    finish();
    return;
  }
  sharer_->setItem(item_);
  sharer_->setQuiet(true);
  sharer_->setShareDelegate(this);
  if (!sharer_->isAuthorized()) {
    // The login was removed since: the entry is dropped, its body with it.
    SHKOfflineQueue::removeBodyFile(uid_);
    finish();
    return;
  }
  loadBody();
  if (sharer_->shareRequiresInternetConnection() && !SHK::connected()) {
    // Offline again: the service would queue it anew without an outcome; do that here and end.
    SHKOfflineQueue::addToOfflineQueue(*item_, sharerId_);
    finish();
    return;
  }
  if (!sharer_->tryToSend()) finish();
}

void SHKOfflineSharer::finish() {
  {
    std::lock_guard lock(mutex_);
    readyToFinish_ = true;
  }
  done_.notify_all();
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
