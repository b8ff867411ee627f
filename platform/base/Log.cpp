#include "platform/base/Log.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace base {
namespace {

// Never destroyed: worker threads may still log while the process exits.
std::mutex& sinkMutex() {
  static auto* m = new std::mutex;
  return *m;
}
Log::Sink& currentSink() {
  static auto* sink = new Log::Sink;
  return *sink;
}
std::atomic<bool>& enabledFlag() {
  static std::atomic<bool> on{false};
  return on;
}

}  // namespace

void Log::write(std::string_view line) {
  if (!enabledFlag().load(std::memory_order_relaxed)) return;
  std::lock_guard lock(sinkMutex());
  if (currentSink()) {
    currentSink()(line);
  } else {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  }
}

bool Log::enabled() { return enabledFlag().load(); }

void Log::setEnabled(bool on) { enabledFlag().store(on); }

void Log::enableFromEnvironment() {
  const char* v = std::getenv("VEMO_LOG");
  if (v && *v && std::string_view(v) != "0") setEnabled(true);
}

Log::Sink Log::setSink(Sink sink) {
  std::lock_guard lock(sinkMutex());
  Sink previous = std::move(currentSink());
  currentSink() = std::move(sink);
  return previous;
}

LogCapture::LogCapture() : wasEnabled_(Log::enabled()) {
  previous_ = Log::setSink([this](std::string_view line) {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(line);
  });
  Log::setEnabled(true);
}

LogCapture::~LogCapture() {
  Log::setSink(std::move(previous_));
  Log::setEnabled(wasEnabled_);
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

bool LogCapture::contains(std::string_view line) const { return count(line) > 0; }

size_t LogCapture::count(std::string_view line) const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(std::count(lines_.begin(), lines_.end(), line));
}

void LogCapture::clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

}  // namespace base
