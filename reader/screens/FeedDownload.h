#pragma once
#include <functional>
#include <string>
#include <vector>

#include "reader/feed/FeedRecord.h"

// Downloads and parses documents of the news site with HTTPConnection on a worker thread, one at
// a time in the order asked, and hands each one's records to its continuation on the main loop.
// The main loop keeps running meanwhile (the window paints and shows the network activity
// indicator), while the application ignores taps from the call until the continuation has run:
// taps made during a download are dropped, not replayed, and no screen code runs inside another.
class FeedDownload {
 public:
  using Continuation = std::function<void(std::vector<FeedRecord> records)>;

  // Call on the main thread. `then` runs on the main loop once the document is in.
  static void start(const std::string& address, Continuation then);
  // Whether a download is queued, under way or waiting for its continuation.
  static bool busy();
};
