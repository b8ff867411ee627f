#include "reader/screens/ThumbnailPool.h"

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/net/Url.h"
#include "platform/net/UrlLoader.h"
#include "platform/net/UrlRequest.h"

ThumbnailPool& ThumbnailPool::shared() {
  // Never destroyed: a worker may still be inside a download when the process exits.
  static ThumbnailPool* pool = new ThumbnailPool();
  return *pool;
}

ThumbnailPool::ThumbnailPool(int maxWorkers)
    : maxWorkers_(static_cast<size_t>(maxWorkers > 0 ? maxWorkers : 1)) {}

ThumbnailPool::~ThumbnailPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  for (auto& worker : workers_) worker.join();
}

void ThumbnailPool::fetch(std::string address, Result result) {
  std::lock_guard lock(mutex_);
  if (stopping_) return;
  queue_.push_back(Task{std::move(address), std::move(result)});
  if (idle_ >= queue_.size() || workers_.size() >= maxWorkers_) {
    wake_.notify_one();
    return;
  }
  workers_.emplace_back([this] { work(); });
}

size_t ThumbnailPool::workerCount() const {
  std::lock_guard lock(mutex_);
  return workers_.size();
}

void ThumbnailPool::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    --idle_;
    if (stopping_) return;
    Task task = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    base::log("IMAGE LOADING THREAD START!");
    task.result(fetchImage(task.address));
    lock.lock();
  }
}

graphics::ImagePtr ThumbnailPool::fetchImage(const std::string& address) {
  std::string escaped = address;
  base::replaceAll(escaped, " ", "%20");
  auto url = net::Url::parse(escaped);
  if (!url) return nullptr;
  net::UrlRequest request(*url, net::UrlRequest::CachePolicy::UseProtocolCachePolicy,
                          kFetchTimeoutSeconds);
  net::LoadResult loaded = net::UrlLoader::sendSynchronousRequest(request);
  if (!loaded.error.ok() || loaded.body.empty()) return nullptr;
  return graphics::Image::fromData(loaded.body);
}
