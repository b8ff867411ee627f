#include <gtest/gtest.h>

#include <thread>

#include "platform/graphics/PangoTextMeasurer.h"

using graphics::Font;
using graphics::LineBreakMode;
using graphics::PangoTextMeasurer;
using graphics::Size;

namespace {

const std::string kHeadline =
    "Hà Nội công bố kế hoạch cải tạo hệ thống giao thông đô thị trong năm tới";
const std::string kSummary =
    "Thành phố sẽ mở rộng các tuyến đường vành đai, xây thêm cầu vượt và bãi đỗ xe ngầm, "
    "đồng thời tăng số tuyến xe buýt nhanh để giảm ùn tắc vào giờ cao điểm ở nội đô.";
const Font kTitleFont = Font::named("TimesNewRomanPS-BoldMT", 20);
const Font kSummaryFont = Font::named("TimesNewRomanPSMT", 15);

// Wrapped text is whole lines high; a height limit keeps whole lines and at least one.
TEST(PangoTextMeasurer, WrapsIntoWholeLines) {
  PangoTextMeasurer m;
  const double title = m.lineHeight(kTitleFont), summary = m.lineHeight(kSummaryFont);
  EXPECT_EQ(m.lineCount(kHeadline, kTitleFont, 460, LineBreakMode::WordWrap), 2);
  Size s = m.measure(kHeadline, kTitleFont, {284, 9999}, LineBreakMode::WordWrap);
  EXPECT_EQ(s, (Size{std::min(s.width, 284.0), 3 * title}));
  ASSERT_GE(m.lineCount(kSummary, kSummaryFont, 300, LineBreakMode::TailTruncation), 3);
  EXPECT_EQ(
      m.measure(kSummary, kSummaryFont, {300, 2.5 * summary}, LineBreakMode::TailTruncation).height,
      2 * summary);
  EXPECT_EQ(m.measure(kSummary, kSummaryFont, {300, -5}, LineBreakMode::WordWrap).height, summary);
  // Empty text takes no room; invalid UTF-8 is measured (with replacement characters).
  EXPECT_EQ(m.measure("", kTitleFont, {100, 100}, LineBreakMode::WordWrap), Size{});
  Size broken = m.measure("ab\xff\xfe cd", kTitleFont, {100, 100}, LineBreakMode::WordWrap);
  EXPECT_EQ(broken.height, title);
  EXPECT_GT(broken.width, 0);
}

TEST(PangoTextMeasurer, SingleLineTruncatesToTheWidth) {
  PangoTextMeasurer m;
  Size natural = m.measureLine(kHeadline, kTitleFont, 9999, LineBreakMode::TailTruncation);
  EXPECT_GT(natural.width, 500);
  Size cut = m.measureLine(kHeadline, kTitleFont, 220, LineBreakMode::TailTruncation);
  EXPECT_TRUE(cut.width > 150 && cut.width <= 220);
  // A newline does not make a second line.
  EXPECT_EQ(m.measureLine("một\nhai", kTitleFont, 9999, LineBreakMode::Clip).height,
            natural.height);
}

TEST(PangoTextMeasurer, CachesByTextFontLimitsAndMode) {
  PangoTextMeasurer m;
  m.measure(kHeadline, kTitleFont, {284, 9999}, LineBreakMode::WordWrap);
  m.measure(kHeadline, kTitleFont, {284, 9999}, LineBreakMode::WordWrap);
  m.measure(kHeadline, kTitleFont, {284, 100}, LineBreakMode::WordWrap);
  m.measure(kHeadline, kTitleFont.withSize(21), {284, 9999}, LineBreakMode::WordWrap);
  m.measure(kHeadline, kTitleFont, {284, 9999}, LineBreakMode::CharacterWrap);
  m.measure(kHeadline, kSummaryFont.withSize(20), {284, 9999}, LineBreakMode::WordWrap);
  EXPECT_EQ(m.cacheHits(), 1u);
}

TEST(PangoTextMeasurer, ConcurrentMeasuringAgrees) {
  PangoTextMeasurer m;
  const Size expected =
      PangoTextMeasurer().measure(kSummary, kSummaryFont, {300, 9999}, LineBreakMode::WordWrap);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        mismatches[t] +=
            m.measure(kSummary, kSummaryFont, {300, 9999}, LineBreakMode::WordWrap) != expected;
        m.measure(kHeadline + std::to_string(i), kTitleFont, {284, 9999}, LineBreakMode::WordWrap);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int n : mismatches) EXPECT_EQ(n, 0);
}

}  // namespace
