#pragma once
#include <functional>
#include <string>
#include <vector>

#include "reader/feed/FeedRecord.h"

// Downloads and parses one document of the news site with HTTPConnection on a worker thread
// while the main loop keeps running (the window keeps painting and showing the network activity
// indicator), and returns its records once they were posted back to the main loop. Taps are
// ignored meanwhile, so the calling screen code goes on in order, as with a blocking download.
class FeedDownload {
 public:
  // Waits, running the main loop, until `done` answers true. The desktop shell installs one
  // that also runs its own event loop; the default runs base::RunLoop::main().
  using Waiter = std::function<void(const std::function<bool()>& done)>;

  // Call on the main thread.
  static std::vector<FeedRecord> run(const std::string& address);
  // Replaces the waiter; an empty one restores the default. Returns the previous one.
  static Waiter setWaiter(Waiter waiter);
};
