#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/OffscreenSurface.h"
#include "platform/graphics/Painter.h"
#include "platform/graphics/PangoTextMeasurer.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"

namespace {

using graphics::Font;
using graphics::LineBreakMode;

const char* const kSubjects[] = {"Hà Nội",
                                 "TP.HCM",
                                 "Đà Nẵng",
                                 "Quốc hội",
                                 "Bộ Y tế",
                                 "Ngân hàng Nhà nước",
                                 "Đội tuyển Việt Nam",
                                 "Nông dân miền Tây"};
const char* const kActions[] = {"công bố kế hoạch", "khởi công dự án", "đề xuất tăng",
                                "cảnh báo nguy cơ", "hoàn thành việc", "thảo luận về"};
const char* const kObjects[] = {
    "cải tạo hệ thống giao thông đô thị", "giá điện sinh hoạt",         "mở rộng đường vành đai",
    "xây bệnh viện tuyến cuối",           "xuất khẩu gạo sang châu Âu", "chống ngập mùa mưa bão"};

struct Story {
  std::string title, summary, date;
};

// Sixty distinct headlines and summaries, like one home feed.
std::vector<Story> homeFeed() {
  std::vector<Story> stories;
  for (int i = 0; i < 60; ++i) {
    std::string title = std::string(kSubjects[i % 8]) + " " + kActions[i % 6] + " " +
                        kObjects[(i / 6) % 6] + " (" + std::to_string(i + 1) + ")";
    std::string summary = "Theo thông tin mới nhất, " + title +
                          " trong năm tới, đồng thời kêu gọi người dân và doanh nghiệp cùng "
                          "chung tay để đạt mục tiêu đề ra trước thời hạn.";
    stories.push_back({title, summary, std::to_string(i % 12 + 1) + ":30 PM 12/05/2011"});
  }
  return stories;
}

const Font kTitle = Font::named("TimesNewRomanPS-BoldMT", 20);
const Font kSummary = Font::named("TimesNewRomanPSMT", 15);
const Font kDate = Font::boldSystem(11);

void measureAll(const graphics::TextMeasurer& m, const std::vector<Story>& feed) {
  for (const auto& s : feed) {
    benchmark::DoNotOptimize(m.measure(s.title, kTitle, {284, 9999}, LineBreakMode::WordWrap));
    benchmark::DoNotOptimize(
        m.measure(s.summary, kSummary, {284, 72}, LineBreakMode::TailTruncation));
    benchmark::DoNotOptimize(m.measureLine(s.date, kDate, 284, LineBreakMode::TailTruncation));
  }
}

void BM_MeasureHomeScreenCold(benchmark::State& state) {
  const auto feed = homeFeed();
  for (auto _ : state) {
    graphics::PangoTextMeasurer fresh;
    measureAll(fresh, feed);
  }
  state.SetItemsProcessed(state.iterations() * feed.size() * 3);
}
BENCHMARK(BM_MeasureHomeScreenCold)->Unit(benchmark::kMillisecond);

void BM_MeasureHomeScreenCached(benchmark::State& state) {
  const auto feed = homeFeed();
  graphics::PangoTextMeasurer warm;
  measureAll(warm, feed);
  for (auto _ : state) measureAll(warm, feed);
  state.SetItemsProcessed(state.iterations() * feed.size() * 3);
}
BENCHMARK(BM_MeasureHomeScreenCached)->Unit(benchmark::kMicrosecond);

// A 320 × 460 scroll view of 60 tiles in two columns: coloured backgrounds with a title, a
// summary and a date label each.
std::shared_ptr<ui::ScrollView> tileScreen() {
  const auto feed = homeFeed();
  auto scroll = std::make_shared<ui::ScrollView>(graphics::Rect{0, 20, 320, 460});
  scroll->setBackgroundColor(graphics::Color::white());
  scroll->setClipsToBounds(true);
  scroll->setContentSize({320, 30 * 160});
  for (int i = 0; i < 60; ++i) {
    auto tile =
        std::make_shared<ui::View>(graphics::Rect{(i % 2) * 160.0, (i / 2) * 160.0, 160, 160});
    tile->setBackgroundColor(i % 3 ? graphics::Color::rgb(227, 218, 207)
                                   : graphics::Color::rgb(240, 236, 230));
    tile->setClipsToBounds(true);
    auto title = std::make_shared<ui::Label>(graphics::Rect{5, 5, 150, 70});
    title->setBackgroundColor(graphics::Color::clear());
    title->setText(feed[i].title);
    title->setFont(kTitle.withSize(15));
    title->setNumberOfLines(3);
    title->setLineBreakMode(LineBreakMode::WordWrap);
    auto summary = std::make_shared<ui::Label>(graphics::Rect{5, 75, 150, 60});
    summary->setBackgroundColor(graphics::Color::clear());
    summary->setText(feed[i].summary);
    summary->setFont(kSummary.withSize(12));
    summary->setNumberOfLines(4);
    auto date = std::make_shared<ui::Label>(graphics::Rect{5, 138, 150, 16});
    date->setBackgroundColor(graphics::Color::clear());
    date->setText(feed[i].date);
    date->setFont(kDate);
    tile->addSubview(title);
    tile->addSubview(summary);
    tile->addSubview(date);
    scroll->addSubview(tile);
  }
  return scroll;
}

void BM_RenderTileScreen2x(benchmark::State& state) {
  auto screen = std::make_shared<ui::View>(graphics::Rect{0, 0, 320, 480});
  screen->addSubview(tileScreen());
  graphics::OffscreenSurface surface({320, 480}, 2.0);
  for (auto _ : state) {
    graphics::Painter painter(surface.context());
    ui::RenderOptions options;
    options.clockText = "09:41";
    ui::Renderer::paintScreen(*screen, painter, options);
    cairo_surface_flush(cairo_get_target(surface.context()));
  }
  state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderTileScreen2x)->Unit(benchmark::kMillisecond);

}  // namespace
