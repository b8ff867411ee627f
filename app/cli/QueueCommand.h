#pragma once
#include <ostream>
#include <string>
#include <vector>

// `vemo queue list` shows the shares kept offline; `vemo queue flush` sends them now, waiting
// until each has an outcome.
class QueueCommand {
 public:
  static bool handles(const std::vector<std::string>& args) {
    return !args.empty() && args[0] == "queue";
  }
  static std::string usage();
  // 0 when done (every flushed share sent), 1 when a share failed or the network is down,
  // 2 on a usage error.
  static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

  // Seconds a flush waits for its shares.
  static constexpr double kFlushTimeoutSeconds = 300;
};
