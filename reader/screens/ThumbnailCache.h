#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/graphics/Image.h"

class ThumbnailLoader;

// A screen's thumbnail cache: picture address (as the feed gave it) → picture, or the null
// marker while the picture is being fetched or after it failed, so each address is fetched at
// most once while the screen lives. Used on the main thread only; results from the loader are
// posted back to the main loop and dropped when the cache (its screen) is gone.
class ThumbnailCache : public std::enable_shared_from_this<ThumbnailCache> {
 public:
  // `loaded` runs on the main thread after a picture was stored (the screen redraws).
  static std::shared_ptr<ThumbnailCache> create(std::function<void()> loaded,
                                                ThumbnailLoader* loader = nullptr);

  // The picture stored under `address`, or nullptr (none yet, loading, or failed).
  graphics::ImagePtr imageFor(const std::string& address) const;
  // Whether there is any entry (picture or null marker) for `address`.
  bool contains(const std::string& address) const;
  // When `address` has no entry: stores the null marker and starts a fetch. Returns whether a
  // fetch was started.
  bool load(const std::string& address);
  size_t size() const { return entries_.size(); }

 private:
  ThumbnailCache(std::function<void()> loaded, ThumbnailLoader* loader);
  void store(const std::string& address, graphics::ImagePtr image);

  std::function<void()> loaded_;
  ThumbnailLoader* loader_;
  std::map<std::string, graphics::ImagePtr> entries_;
};
