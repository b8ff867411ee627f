// The offline queue: adding an entry to an empty list against adding the 1,000th (the list is
// read and rewritten each time); and flushing 100 queued link shares to the loopback sandbox
// against sending the same 100 shares directly, with the most threads the process had.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/WebServiceSharers.h"

namespace {

struct Setup {
  Setup() {
    char pattern[] = "/tmp/vemo-queue-bench-XXXXXX";
    folder = mkdtemp(pattern);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
      setenv(name, folder.c_str(), 1);
    }
    registerWebServiceSharers();
    sandbox.start();
    SHKServiceConfig::shared().pointServicesAt(sandbox.baseUrl());
    SHK::setAuthValue("ann", "username", "SHKInstapaper");
    SHK::setAuthValue("pw", "password", "SHKInstapaper");
  }
  ~Setup() {
    sandbox.stop();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::filesystem::path folder;
  ServiceSandbox sandbox;
};

Setup& setup() {
  static Setup s;
  return s;
}

std::shared_ptr<SHKItem> link(int i) {
  return SHKItem::URL(*net::Url::parse("https://vemo.vn/story/" + std::to_string(i)),
                      "Story " + std::to_string(i));
}

int threadsNow() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
  }
  return 0;
}

void BM_QueueAdd(benchmark::State& state) {
  setup();
  const int before = static_cast<int>(state.range(0)) - 1;
  std::filesystem::remove(SHKOfflineQueue::offlineQueueListPath());
  for (int i = 0; i < before; ++i) SHKOfflineQueue::addToOfflineQueue(*link(i), "SHKInstapaper");
  const std::string list = SHKOfflineQueue::offlineQueueListPath();
  // The first entry starts the list; later ones go back to the list of `before` entries.
  if (before > 0) {
    std::filesystem::copy_file(list, list + ".start",
                               std::filesystem::copy_options::overwrite_existing);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(SHKOfflineQueue::addToOfflineQueue(*link(before), "SHKInstapaper"));
    state.PauseTiming();
    if (before > 0) {
      std::filesystem::copy_file(list + ".start", list,
                                 std::filesystem::copy_options::overwrite_existing);
    } else {
      std::filesystem::remove(list);
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_QueueAdd)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

constexpr int kShares = 100;

// Runs the main loop until `count` shares finished; returns the most threads seen meanwhile.
int runUntilFinished(int& finished, int count) {
  int peak = threadsNow();
  base::RunLoop::main().runUntilCondition(
      [&] {
        peak = std::max(peak, threadsNow());
        return finished >= count;
      },
      120);
  return peak;
}

void BM_FlushQueued(benchmark::State& state) {
  setup();
  int finished = 0, peak = 0;
  auto token = base::NotificationCenter::defaultCenter().addObserver(
      SHKSharer::kSendDidFinishNotification, [&](const base::Notification&) { ++finished; });
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(SHKOfflineQueue::offlineQueueListPath());
    for (int i = 0; i < kShares; ++i) SHKOfflineQueue::addToOfflineQueue(*link(i), "SHKInstapaper");
    finished = 0;
    state.ResumeTiming();
    SHKOfflineQueue::flushOfflineQueue();
    peak = std::max(peak, runUntilFinished(finished, kShares));
    base::RunLoop::main().runUntilCondition(
        [] { return SHKOfflineQueue::operations().operationCount() == 0; }, 30);
    if (finished != kShares) state.SkipWithError("not every share finished");
  }
  state.counters["peak_threads"] = peak;
  state.counters["queue_threads"] =
      static_cast<double>(SHKOfflineQueue::operations().peakThreadCount());
}
BENCHMARK(BM_FlushQueued)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SendDirectly(benchmark::State& state) {
  setup();
  int finished = 0, peak = 0;
  auto token = base::NotificationCenter::defaultCenter().addObserver(
      SHKSharer::kSendDidFinishNotification, [&](const base::Notification&) { ++finished; });
  for (auto _ : state) {
    finished = 0;
    for (int i = 0; i < kShares; ++i) {
      auto sharer = SHKSharer::create("SHKInstapaper");
      sharer->setItem(link(i));
      sharer->setQuiet(true);
      sharer->tryToSend();
    }
    peak = std::max(peak, runUntilFinished(finished, kShares));
    if (finished != kShares) state.SkipWithError("not every share finished");
  }
  state.counters["peak_threads"] = peak;
}
BENCHMARK(BM_SendDirectly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
