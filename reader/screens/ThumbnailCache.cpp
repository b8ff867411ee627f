#include "reader/screens/ThumbnailCache.h"

#include "platform/base/RunLoop.h"
#include "reader/screens/ThumbnailLoader.h"

std::shared_ptr<ThumbnailCache> ThumbnailCache::create(std::function<void()> loaded,
                                                       ThumbnailLoader* loader) {
  return std::shared_ptr<ThumbnailCache>(
      new ThumbnailCache(std::move(loaded), loader ? loader : &ThumbnailLoader::shared()));
}

ThumbnailCache::ThumbnailCache(std::function<void()> loaded, ThumbnailLoader* loader)
    : loaded_(std::move(loaded)), loader_(loader) {}

graphics::ImagePtr ThumbnailCache::imageFor(const std::string& address) const {
  auto it = entries_.find(address);
  return it == entries_.end() ? nullptr : it->second;
}

bool ThumbnailCache::contains(const std::string& address) const {
  return entries_.count(address) != 0;
}

bool ThumbnailCache::load(const std::string& address) {
  if (!entries_.emplace(address, nullptr).second) return false;
  std::weak_ptr<ThumbnailCache> weak = weak_from_this();
  loader_->fetch(address, [weak, address](graphics::ImagePtr image) {
    // A failed fetch leaves the marker, so the address is not tried again.
    if (!image) return;
    base::RunLoop::main().post([weak, address, image = std::move(image)]() mutable {
      if (auto cache = weak.lock()) cache->store(address, std::move(image));
    });
  });
  return true;
}

void ThumbnailCache::store(const std::string& address, graphics::ImagePtr image) {
  entries_[address] = std::move(image);
  if (loaded_) loaded_();
}
