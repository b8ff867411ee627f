#include "reader/screens/CustomButton.h"

#include <gtest/gtest.h>

#include "platform/base/Log.h"
#include "platform/graphics/FixedTextMeasurer.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

using graphics::Color;
using graphics::Rect;

namespace {

// Title 20 pt: 10 points a character, 30 a line; summary 15 pt: 7.5 a character, 23 a line.
class CustomButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ =
        graphics::TextMeasurer::setCurrent(std::make_shared<graphics::FixedTextMeasurer>(0.5, 1.5));
  }
  void TearDown() override { graphics::TextMeasurer::setCurrent(previous_); }

  static Item story(std::string title, std::string summary = "Tóm tắt") {
    Item item;
    item.title = std::move(title);
    item.description = std::move(summary);
    item.pubDate = "Tue, 6 Dec 2011 02:30:00 AM";
    return item;
  }
  static ui::Label* label(ui::Button& tile, size_t index) {
    return static_cast<ui::Label*>(tile.subviews().at(index).get());
  }

  std::shared_ptr<const graphics::TextMeasurer> previous_;
};

// A headline of `words` four-letter words (five characters with the blank).
std::string words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += i ? " word" : "word";
  return text;
}

}  // namespace

TEST_F(CustomButtonTest, BigTileGivesTheSummaryWhatTheHeadlineLeaves) {
  // 12 words wrap into two lines of 310 points: the headline is 60 high.
  auto tile = CustomButton().getCustomButtonWithItem(story(words(12), words(40)), "big", 7, 9);
  ASSERT_EQ(tile->subviews().size(), 4u);  // title, date, summary, one line
  ui::Label* title = label(*tile, 0);
  EXPECT_EQ(title->frame(), Rect(5, 5, 310, 60));
  EXPECT_EQ(title->numberOfLines(), 4);
  EXPECT_EQ(title->font().name(), "TimesNewRomanPS-BoldMT");
  EXPECT_EQ(title->textColor(), Color::rgb(86, 74, 75));
  ui::Label* summary = label(*tile, 2);
  // Height limit 130 - 60 - 10 = 60: two summary lines of 23 fit.
  EXPECT_EQ(summary->frame(), Rect(5, 65, 310, 46));
  EXPECT_EQ(summary->numberOfLines(), 999);
  ui::Label* date = label(*tile, 1);
  EXPECT_EQ(date->frame(), Rect(5, 130, 310, 20));
  EXPECT_EQ(date->text(), "Tue, 6 Dec 2011 02:30:00 AM");
  EXPECT_EQ(date->textColor(), Color::rgb(155, 146, 141));
  EXPECT_EQ(tile->subviews()[3]->frame(), Rect(0, 150, 320, 1));
  EXPECT_EQ(tile->subviews()[3]->backgroundColor(), Color::rgb(191, 182, 174));
  // The tile's place is the caller's.
  EXPECT_EQ(tile->frame(), Rect());
}

TEST_F(CustomButtonTest, LongHeadlinesAreCutToEachTypesLines) {
  struct Case {
    const char* type;
    double width, height;
    int lines;
    size_t subviews;
    Rect date;
  };
  // The measuring box keeps whole lines: 2 of 30 (20 pt) or 27 (18 pt) in 80, 4 of 24 (16 pt) in
  // 100.
  const Case cases[] = {
      {"big", 310, 60, 4, 4, {5, 130, 310, 20}},  {"medium", 204, 54, 3, 5, {5, 130, 204, 20}},
      {"small", 97, 96, 5, 4, {5, 130, 102, 20}}, {"zero", 470, 60, 4, 4, {5, 80, 470, 20}},
      {"one", 150, 96, 5, 4, {5, 80, 150, 20}},   {"right", 310, 60, 4, 4, {5, 130, 310, 20}},
  };
  for (const Case& c : cases) {
    auto tile = CustomButton().getCustomButtonWithItem(story(words(200)), c.type, 0, 0);
    ui::Label* title = label(*tile, 0);
    EXPECT_EQ(title->frame().width(), c.width) << c.type;
    EXPECT_EQ(title->frame().height(), c.height) << c.type;
    EXPECT_EQ(title->numberOfLines(), c.lines) << c.type;
    EXPECT_EQ(label(*tile, 1)->frame(), c.date) << c.type;
    EXPECT_EQ(tile->subviews().size(), c.subviews) << c.type;
  }
}

TEST_F(CustomButtonTest, NarrowTilesHaveNoSummaryAndTwoSeparators) {
  auto small = CustomButton().getCustomButtonWithItem(story("Tin"), "small", 0, 0);
  ASSERT_EQ(small->subviews().size(), 4u);
  EXPECT_EQ(small->subviews()[2]->frame(), Rect(0, 150, 107, 1));
  EXPECT_EQ(small->subviews()[3]->frame(), Rect(106, 0, 1, 151));
  auto one = CustomButton().getCustomButtonWithItem(story("Tin"), "one", 0, 0);
  ASSERT_EQ(one->subviews().size(), 4u);
  EXPECT_EQ(one->subviews()[2]->frame(), Rect(0, 99, 160, 1));
  EXPECT_EQ(one->subviews()[3]->frame(), Rect(159, 0, 1, 100));
}

TEST_F(CustomButtonTest, ZeroTileLogsTheSummaryLimitAndKeepsTheSummaryAboveTheDate) {
  base::LogCapture log;
  // A headline that fills the 80-point box (2 lines of 30) leaves 100 - 60 - 20 = 20.
  auto tile = CustomButton().getCustomButtonWithItem(story(words(200), words(50)), "zero", 0, 0);
  EXPECT_TRUE(log.contains("20"));
  ui::Label* summary = label(*tile, 2);
  EXPECT_EQ(summary->frame().y(), 65);
  // One summary line (23) does not fit in 20: the summary must not reach the date at y 80.
  EXPECT_LE(summary->frame().maxY(), 85);
  EXPECT_LE(summary->frame().height(), 20);
}

TEST_F(CustomButtonTest, UnknownTypeGivesTwoUnplacedLabels) {
  auto tile = CustomButton().getCustomButtonWithItem(story("Tin"), "huge", 0, 0);
  ASSERT_EQ(tile->subviews().size(), 2u);
  EXPECT_EQ(tile->subviews()[0]->frame(), Rect());
  EXPECT_EQ(tile->subviews()[1]->frame(), Rect());
}

TEST(CustomButtonRealText, MeasuresWithThePangoMeasurer) {
  Item item;
  item.title = "Giá vàng tăng mạnh trong phiên giao dịch sáng nay tại Hà Nội và TP.HCM";
  item.description = "Giá vàng SJC sáng nay tăng thêm 200.000 đồng mỗi lượng so với hôm qua.";
  item.pubDate = "Tue, 6 Dec 2011 02:30:00 AM";
  auto tile = CustomButton().getCustomButtonWithItem(item, "big", 0, 0);
  auto* title = static_cast<ui::Label*>(tile->subviews()[0].get());
  auto* summary = static_cast<ui::Label*>(tile->subviews()[2].get());
  EXPECT_GT(title->frame().height(), 20);
  EXPECT_LE(title->frame().height(), 80);
  EXPECT_EQ(summary->frame().y(), title->frame().height() + 5);
  EXPECT_LE(summary->frame().maxY(), 130);
}
