#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TableView.h"
#include "reader/model/Item.h"
#include "reader/model/Utilities.h"
#include "reader/screens/ContentView.h"
#include "reader/screens/MainViewController.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/ThumbnailLoader.h"
#include "reader/screens/VemoAppDelegate.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

std::string feedOf(int count) {
  std::string xml = "<rss xmlns:media=\"http://search.yahoo.com/mrss/\"><channel>";
  for (int i = 0; i < count; ++i) {
    xml += "<item><title>Tin số " + std::to_string(i) +
           ": Quốc hội thông qua kế hoạch phát triển kinh tế xã hội</title><link>http://x/" +
           std::to_string(i) +
           "</link><description>Với đa số phiếu tán thành, Quốc hội đặt mục tiêu tăng trưởng "
           "khoảng 6% và kiềm chế lạm phát.</description><pubDate>Mon, 05 Dec 2011 14:30:00 "
           "EST</pubDate></item>";
  }
  return xml + "</channel></rss>";
}

// Launches the reader on a loopback feed of `count` stories and hands the home screen to `run`.
template <typename Run>
void withHome(int count, const std::string& style, Run run) {
  testing_support::TempDir temp;
  Utilities().setStyleView(style);
  testing_support::LoopbackServer server;
  std::string feed = feedOf(count);
  server.server().Get("/Home.rss", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(feed, "application/rss+xml");
  });
  server.start();
  NewsSite::setBaseAddress(server.url());
  base::RunLoop::main().setVirtualClock(true);
  {
    VemoAppDelegate delegate;
    ui::Application::shared().setDelegate(&delegate);
    ui::Application::shared().launch();
    base::RunLoop::main().runFor(1);
    run(*static_cast<MainViewController*>(
        delegate.viewController()->viewControllers().front().get()));
    ui::Application::shared().reset();
  }
  base::RunLoop::main().reset();
  base::RunLoop::main().setVirtualClock(false);
}

void BM_HomeGrid(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  withHome(count, "grid", [&](MainViewController& home) {
    for (auto _ : state) home.checkTheStyleView();
  });
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["us_per_story"] = benchmark::Counter(
      static_cast<double>(state.iterations() * count),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

// Building a grid of stories not shown before (every tile made anew).
void BM_HomeGridFirstBuild(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  withHome(count, "grid", [&](MainViewController& home) {
    for (auto _ : state) {
      auto grid = ContentView::makeStoryGrid({0, 44, 320, 416}, home.stories(), false, [](int) {});
      benchmark::DoNotOptimize(grid.get());
    }
  });
  state.counters["us_per_story"] = benchmark::Counter(
      static_cast<double>(state.iterations() * count),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

// The home screen's first frame: twelve stories never shown before (every text laid out anew),
// their grid built and painted.
void BM_HomeGridFirstPaint(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 320, 416);
  cairo_t* cr = cairo_create(surface);
  withHome(1, "grid", [&](MainViewController&) {
    int round = 0;
    for (auto _ : state) {
      std::vector<ItemPtr> stories;
      for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(round) + "." + std::to_string(i);
        auto story = std::make_shared<Item>();
        story->title = "Tin " + n + ": Quốc hội thông qua kế hoạch phát triển kinh tế xã hội";
        story->description = "Với đa số phiếu tán thành (" + n +
                             "), Quốc hội đặt mục tiêu tăng trưởng khoảng 6% và kiềm chế lạm phát.";
        story->pubDate = "Mon, 05 Dec 2011 14:30:00 EST";
        stories.push_back(std::move(story));
      }
      ++round;
      auto grid = ContentView::makeStoryGrid({0, 0, 320, 416}, stories, false, [](int) {});
      graphics::Painter painter(cr);
      ui::Renderer::paint(*grid, painter);
    }
  });
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void BM_HomeList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  withHome(count, "list", [&](MainViewController& home) {
    for (auto _ : state) {
      home.checkTheStyleView();
      benchmark::DoNotOptimize(home.tableView()->visibleCells().size());
    }
  });
  state.SetItemsProcessed(state.iterations() * count);
}

int threadsAlive() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
  }
  return 0;
}

// Samples the process's thread count while alive; peak() is the most above the start.
class ThreadSampler {
 public:
  ThreadSampler()
      : base_(threadsAlive()), thread_([this] {
          while (!stop_) {
            int now = threadsAlive();
            if (now > peak_) peak_ = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
        }) {}
  ~ThreadSampler() { finish(); }
  int finish() {
    if (thread_.joinable()) {
      stop_ = true;
      thread_.join();
    }
    return peak_ - base_ - 1;  // not counting the sampler itself
  }

 private:
  int base_;
  std::atomic<int> peak_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// One picture fetched and decoded through the loader, until its result reached the main loop.
double oneFetchSeconds(ThumbnailLoader& loader, const std::string& address) {
  bool arrived = false;
  auto t0 = std::chrono::steady_clock::now();
  loader.fetch(address, [&arrived](graphics::ImagePtr) {
    base::RunLoop::main().post([&arrived] { arrived = true; });
  });
  base::RunLoop::main().runUntilCondition([&] { return arrived; }, 120);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// 100 distinct thumbnails, each served after 50 ms, until every result reached the main loop,
// against one such fetch alone; and the threads the loading added at most.
void BM_Thumbnails(benchmark::State& state) {
  testing_support::LoopbackServer server;
  server.server().new_task_queue = [] { return new httplib::ThreadPool(128); };
  std::string png = graphics::Image::filled({80, 80}, graphics::Color::rgb(9, 99, 199))->pngData();
  server.server().Get(R"(/t/.*)", [&](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    res.set_content(png, "image/png");
  });
  server.start();
  {
    // The server's own threads exist once it has answered.
    ThumbnailLoader warmUp;
    oneFetchSeconds(warmUp, server.url("/t/warm-up.png"));
  }
  base::RunLoop::main().reset();
  int peak = 0, failed = 0, round = 0;
  double all = 0, one = 0;
  for (auto _ : state) {
    ++round;
    ThreadSampler sampler;
    auto loader = std::make_unique<ThumbnailLoader>();
    double single = oneFetchSeconds(*loader, server.url("/t/" + std::to_string(round) + "/one"));
    int arrived = 0;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) {
      std::string address =
          server.url("/t/" + std::to_string(round) + "/" + std::to_string(i) + ".png");
      loader->fetch(address, [&arrived, &failed](graphics::ImagePtr image) {
        base::RunLoop::main().post([image, &arrived, &failed] {
          ++arrived;
          if (!image) ++failed;
        });
      });
    }
    base::RunLoop::main().runUntilCondition([&] { return arrived == 100; }, 120);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.SetIterationTime(seconds);
    all += seconds;
    one += single;
    loader.reset();
    peak = std::max(peak, sampler.finish());
  }
  state.counters["one_fetch_ms"] = 1000 * one / state.iterations();
  state.counters["ratio_to_one_fetch"] = all / one;
  state.counters["peak_threads"] = peak;
  state.counters["failed"] = failed;
}

}  // namespace

BENCHMARK(BM_HomeGrid)->Arg(60)->Arg(600)->Arg(6000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HomeGridFirstBuild)->Arg(60)->Arg(600)->Arg(6000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HomeGridFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HomeList)->Arg(60)->Arg(600)->Arg(6000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnails)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
