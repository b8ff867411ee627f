// The life cycle's own cost: a share of a service that needs no login and auto-shares, from
// share() to its outcome (favourites, the auto-share flag, the progress panel, notifications,
// freeing the service), against calling the same service's send() directly.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/base/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/Window.h"
#include "sharing/core/SHKSharer.h"

namespace {

class InstantService : public SHKSharer {
 public:
  std::string sharerTitle() const override { return "Instant"; }
  bool canShareText() const override { return true; }
  bool requiresAuthentication() const override { return false; }
  bool shareRequiresInternetConnection() const override { return false; }
  bool send() override {
    if (!validateItem()) return false;
    sendDidStart();
    sendDidFinish();
    return true;
  }
};

struct Setup {
  Setup() {
    char pattern[] = "/tmp/vemo-share-bench-XXXXXX";
    folder = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    base::RunLoop::main().setVirtualClock(true);
    window.makeKeyAndVisible();
    SHKSharer::registerClass("SHKInstant", [] { return std::make_shared<InstantService>(); });
    store::UserDefaults::standard().setBool(true, "SHKInstant_shouldAutoShare");
  }
  ~Setup() { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
  ui::Window window;
};

Setup& setup() {
  static Setup s;
  return s;
}

void BM_ShareToOutcome(benchmark::State& state) {
  setup();
  for (auto _ : state) {
    auto sharer = SHKSharer::shareItem("SHKInstant", SHKItem::text("A story worth sharing"));
    benchmark::DoNotOptimize(sharer);
    sharer.reset();
    // The panel's fade and hide run on the virtual clock, so nothing piles up between rounds.
    base::RunLoop::main().runFor(2);
  }
}
BENCHMARK(BM_ShareToOutcome);

void BM_SendDirect(benchmark::State& state) {
  setup();
  for (auto _ : state) {
    auto sharer = SHKSharer::create("SHKInstant");
    sharer->setItem(SHKItem::text("A story worth sharing"));
    benchmark::DoNotOptimize(sharer->send());
    sharer.reset();
    // The panel's fade and hide run on the virtual clock, so nothing piles up between rounds.
    base::RunLoop::main().runFor(2);
  }
}
BENCHMARK(BM_SendDirect);

}  // namespace

BENCHMARK_MAIN();
