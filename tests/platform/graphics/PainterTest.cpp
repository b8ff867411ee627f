#include "platform/graphics/Painter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/graphics/OffscreenSurface.h"

using graphics::Color;
using graphics::ContentMode;
using graphics::LineBreakMode;
using graphics::OffscreenSurface;
using graphics::Painter;
using graphics::Rect;

namespace {

const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 1};

bool isClear(const Color& c) {
  return c.alpha == 0;
}

// Counts pixels (in surface pixels) inside `r` that are not transparent.
int inkIn(const OffscreenSurface& s, const Rect& r) {
  int n = 0;
  for (double y = r.minY(); y < r.maxY(); y += 0.5)
    for (double x = r.minX(); x < r.maxX(); x += 0.5) n += !isClear(s.colorAt({x, y}));
  return n;
}

// Clips, translations and turns are proven through the renderer's tests.
TEST(Painter, AlphaAndLayers) {
  OffscreenSurface s({100, 100}, 2.0);
  Painter p(s.context());
  p.save();
  p.setAlpha(0.5);
  p.fillRect({0, 50, 10, 10}, kBlue);
  p.restore();
  p.fillRect({0, 70, 10, 10}, kBlue);
  EXPECT_NEAR(s.colorAt({5, 55}).alpha, 0.5, 0.01);
  EXPECT_NEAR(s.colorAt({5, 75}).alpha, 1.0, 0.01);

  p.beginLayer();  // overlapping shapes in a layer: no darker overlap
  p.fillRect({20, 50, 20, 10}, kRed);
  p.fillRect({30, 50, 20, 10}, kRed);
  p.endLayer(0.5);
  EXPECT_NEAR(s.colorAt({25, 55}).alpha, s.colorAt({35, 55}).alpha, 0.01);
}

// A 20 × 10 image, left half red, right half blue, drawn into a 40 × 40 box (20 × 20 for fill).
TEST(Painter, ImagesByContentMode) {
  OffscreenSurface src({20, 10});
  Painter(src.context()).fillRect({10, 0, 10, 10}, kBlue);
  Painter(src.context()).fillRect({0, 0, 10, 10}, kRed);
  auto image = src.snapshot();
  const struct {
    ContentMode mode;
    Rect box;
    graphics::Point blue, clear;
  } rows[] = {
      {ContentMode::ScaleAspectFit, {0, 0, 40, 40}, {30, 20}, {10, 5}},    // 40 × 20 at y 10
      {ContentMode::ScaleAspectFill, {0, 0, 20, 20}, {15, 10}, {25, 10}},  // 40 × 20, clipped
      {ContentMode::TopLeft, {0, 0, 40, 40}, {15, 5}, {25, 5}},            // natural size
      {ContentMode::ScaleToFill, {0, 0, 40, 40}, {35, 35}, {45, 5}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.mode));
    OffscreenSurface s({50, 50}, 2.0);
    Painter(s.context()).drawImage(*image, row.box, row.mode);
    EXPECT_EQ(s.colorAt(row.blue), kBlue);
    EXPECT_TRUE(isClear(s.colorAt(row.clear)));
  }
}

// Wrapped text keeps to whole lines inside its box, a truncated line ends with its ellipsis
// inside it, and shrinking to fit makes a line fit without cutting.
TEST(Painter, TextStaysInsideItsBox) {
  OffscreenSurface s({320, 120}, 2.0);
  Painter p(s.context());
  graphics::TextStyle style;
  style.font = graphics::Font::named("TimesNewRomanPS-BoldMT", 20);
  style.numberOfLines = 0;
  style.lineBreakMode = LineBreakMode::WordWrap;
  p.drawText("Hà Nội công bố kế hoạch cải tạo hệ thống giao thông đô thị trong năm tới",
             {0, 0, 200, 50}, style);
  EXPECT_GT(inkIn(s, {0, 23, 200, 22}), 100);  // the second line
  EXPECT_EQ(inkIn(s, {0, 50, 320, 20}) + inkIn(s, {200, 0, 120, 50}), 0);

  style.numberOfLines = 1;
  style.lineBreakMode = LineBreakMode::TailTruncation;
  p.drawText("Thời sự — Chính trị — Xã hội — Pháp luật — Thế giới — Kinh doanh", {0, 70, 160, 40},
             style);
  EXPECT_GT(inkIn(s, {120, 70, 40, 40}), 10);  // the ellipsis end
  EXPECT_EQ(inkIn(s, {160, 70, 160, 40}), 0);

  style.minimumFontSize = 10;
  style.lineBreakMode = LineBreakMode::Clip;
  OffscreenSurface shrunk({320, 40});
  Painter(shrunk.context()).drawText("Đã lưu thành công rồi nhé", {0, 0, 150, 40}, style);
  EXPECT_EQ(inkIn(shrunk, {150, 0, 170, 40}), 0);
  EXPECT_GT(inkIn(shrunk, {120, 0, 30, 40}), 0);
}

}  // namespace
