#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/graphics/Image.h"

// Fetches pictures through the asynchronous URL loader (its one transfer thread, all fetches at
// once) and decodes them on one decoder thread of its own, off the main thread.
class ThumbnailLoader {
 public:
  static constexpr double kFetchTimeoutSeconds = 30.0;
  using Result = std::function<void(graphics::ImagePtr image)>;

  // The loader the screens share; it lives until the process ends.
  static ThumbnailLoader& shared();

  ThumbnailLoader();
  // Cancels the running fetches and stops the decoder; waiting decodes are dropped.
  ~ThumbnailLoader();
  ThumbnailLoader(const ThumbnailLoader&) = delete;
  ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

  // Main thread. Fetches `address` (blanks become "%20"); `result` gets the decoded picture, or
  // nullptr when nothing could be fetched or decoded, on the decoder thread.
  void fetch(std::string address, Result result);

 private:
  class Fetch;
  struct Decode {
    std::string data;
    Result result;
  };
  // Main thread: a fetch ended (`data` is empty after a failure).
  void fetched(Fetch* fetch, std::string data);
  void decodeLater(Decode decode);
  void decodeLoop();

  std::map<Fetch*, std::unique_ptr<Fetch>> fetches_;  // main thread only
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Decode> decodes_;
  bool stopping_ = false;
  std::thread decoder_;
};
