#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/OffscreenSurface.h"
#include "platform/graphics/Painter.h"
#include "platform/graphics/PangoTextMeasurer.h"

using graphics::Font;
using graphics::LineBreakMode;
using graphics::OffscreenSurface;
using graphics::Painter;
using graphics::PangoTextMeasurer;
using graphics::Rect;
using graphics::TextStyle;

namespace {

int inkIn(const OffscreenSurface& s, const Rect& r) {
  int n = 0;
  for (double y = r.minY(); y < r.maxY(); y += 1) {
    for (double x = r.minX(); x < r.maxX(); x += 1) n += s.colorAt({x, y}).alpha > 0 ? 1 : 0;
  }
  return n;
}

// A text measured for a box is painted from the layout the measure made; a paint that cuts it to
// fewer lines works on a copy, so later measures and paints of that text still see it whole.
TEST(KeptLayout, CuttingAMeasuredTextLeavesItWholeForLaterUses) {
  const std::string text =
      "Quốc hội thông qua kế hoạch phát triển kinh tế xã hội năm 2012 với đa số phiếu tán thành";
  const Font font = Font::system(15);
  const double width = 120;
  const int lines = PangoTextMeasurer().lineCount(text, font, width, LineBreakMode::TailTruncation);
  const double lineHeight = PangoTextMeasurer().lineHeight(font);
  ASSERT_GT(lines, 3);

  TextStyle style;
  style.font = font;
  style.numberOfLines = 2;
  OffscreenSurface cut({width, 200});
  Painter(cut.context()).drawText(text, {0, 0, width, 200}, style);
  EXPECT_EQ(inkIn(cut, {0, 2 * lineHeight, width, 200 - 2 * lineHeight}), 0);

  style.numberOfLines = 0;
  OffscreenSurface whole({width, 200});
  Painter(whole.context()).drawText(text, {0, 0, width, 200}, style);
  EXPECT_GT(inkIn(whole, {0, (lines - 1) * lineHeight, width, lineHeight}), 0);
  EXPECT_EQ(PangoTextMeasurer().lineCount(text, font, width, LineBreakMode::TailTruncation), lines);
}

}  // namespace
