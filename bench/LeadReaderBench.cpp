#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/PangoTextMeasurer.h"
#include "platform/ui/ScrollView.h"
#include "reader/screens/SapoViewController.h"
#include "reader/screens/ThumbnailCache.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

// Stories with distinct texts, so no page reuses another's measurements.
std::vector<ItemPtr> storiesOf(int count, const std::string& picture) {
  std::vector<ItemPtr> stories;
  for (int i = 0; i < count; ++i) {
    auto item = std::make_shared<Item>();
    const std::string n = std::to_string(i);
    item->title = "Tin số " + n + ": Quốc hội thông qua kế hoạch phát triển kinh tế xã hội";
    item->description = "Bản tin " + n +
                        ": Với đa số phiếu tán thành, Quốc hội đặt mục tiêu tăng trưởng khoảng "
                        "6% và kiềm chế lạm phát dưới 10% trong năm tới.";
    item->pubDate = "Tue, 6 Dec 2011 02:" + std::to_string(10 + i % 50) + ":00 AM";
    item->link = "http://x/" + n;
    item->imgLink = i == 0 ? picture : "";
    stories.push_back(item);
  }
  return stories;
}

// First build: the view loads and lays out every page with an empty measurement cache.
void BM_LeadReaderFirstBuild(benchmark::State& state) {
  testing_support::TempDir temp;
  const int count = static_cast<int>(state.range(0));
  std::vector<ItemPtr> stories = storiesOf(count, "");
  for (auto _ : state) {
    state.PauseTiming();
    graphics::TextMeasurer::setCurrent(std::make_shared<graphics::PangoTextMeasurer>());
    auto screen = std::make_shared<SapoViewController>(stories, count / 2, "NO");
    state.ResumeTiming();
    benchmark::DoNotOptimize(screen->view().get());
    state.PauseTiming();
    screen.reset();
    state.ResumeTiming();
  }
  graphics::TextMeasurer::setCurrent(nullptr);
  state.counters["pages"] = count;
}

// Rebuild after a picture arrived: the first story's picture is fetched over loopback, then
// every page is built again as displayImage does on each arrival.
void BM_LeadReaderRebuildOnPicture(benchmark::State& state) {
  testing_support::TempDir temp;
  const int count = static_cast<int>(state.range(0));
  testing_support::LoopbackServer server;
  const std::string png =
      graphics::Image::filled({100, 100}, graphics::Color::rgb(120, 20, 40))->pngData();
  server.server().Get("/p.png", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(png, "image/png");
  });
  server.start();
  graphics::TextMeasurer::setCurrent(std::make_shared<graphics::PangoTextMeasurer>());
  const std::string picture = server.url("/p.png");
  auto screen = std::make_shared<SapoViewController>(storiesOf(count, picture), 0, "NO");
  screen->view();
  screen->viewWillAppear(false);
  if (!base::RunLoop::main().runUntilCondition(
          [&] { return screen->pictures().imageFor(picture) != nullptr; })) {
    state.SkipWithError("the picture did not arrive");
    return;
  }
  for (auto _ : state) {
    screen->displayImage();
    benchmark::DoNotOptimize(screen->pager());
  }
  screen.reset();
  graphics::TextMeasurer::setCurrent(nullptr);
  state.counters["pages"] = count;
}

}  // namespace

BENCHMARK(BM_LeadReaderFirstBuild)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeadReaderRebuildOnPicture)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
