#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Diagnostic lines with fixed texts. Off by default; switched on by --log or VEMO_LOG=1, in
// which case they go to standard error. Tests install a capture instead.
class Log {
 public:
  using Sink = std::function<void(std::string_view)>;

  // Writes one line to the current sink, if logging is enabled.
  static void write(std::string_view line);
  static bool enabled();
  // Enables logging to standard error (or disables it) when no sink is installed.
  static void setEnabled(bool on);
  // Reads VEMO_LOG from the environment: any value other than "" or "0" enables logging.
  static void enableFromEnvironment();
  // Replaces the sink; an empty sink restores standard error. Returns the previous one.
  static Sink setSink(Sink sink);
};

// Collects every logged line while alive (and turns logging on); restores the previous sink.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() const;
  bool contains(std::string_view line) const;
  size_t count(std::string_view line) const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  Log::Sink previous_;
  bool wasEnabled_;
};

// Shorthand for Log::write.
inline void log(std::string_view line) { Log::write(line); }

}  // namespace base
