#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/graphics/Image.h"

// A small pool of worker threads that fetch and decode pictures. Workers are started as tasks
// arrive, up to the limit, and then stay for later tasks. A worker only fetches and decodes; the
// result goes to the task's callback on the worker, which posts it to the main loop.
class ThumbnailPool {
 public:
  static constexpr int kMaxWorkers = 6;
  static constexpr double kFetchTimeoutSeconds = 30.0;
  using Result = std::function<void(graphics::ImagePtr image)>;

  // The pool the screens share; it lives until the process ends.
  static ThumbnailPool& shared();

  explicit ThumbnailPool(int maxWorkers = kMaxWorkers);
  // Waits for the running fetches and stops the workers; queued tasks are dropped.
  ~ThumbnailPool();
  ThumbnailPool(const ThumbnailPool&) = delete;
  ThumbnailPool& operator=(const ThumbnailPool&) = delete;

  // Queues a fetch of `address` (blanks become "%20"); `result` gets the decoded picture, or
  // nullptr when nothing could be fetched or decoded. Called on a worker thread.
  void fetch(std::string address, Result result);

  // Fetches and decodes one picture on the calling thread.
  static graphics::ImagePtr fetchImage(const std::string& address);

  // Workers started so far (never more than the limit).
  size_t workerCount() const;

 private:
  struct Task {
    std::string address;
    Result result;
  };
  void work();

  const size_t maxWorkers_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Task> queue_;
  std::vector<std::thread> workers_;
  size_t idle_ = 0;
  bool stopping_ = false;
};
