#include <gtest/gtest.h>

#include "tests/platform/ui/UiTestSupport.h"
#include "tests/platform/ui/table/TestDataSource.h"

using graphics::Rect;
using ui::IndexPath;

namespace {

using TableViewTest = UiTest;

TEST_F(TableViewTest, OnlyRowsInViewHaveCellsAndScrolledOutCellsAreReused) {
  auto data = TestDataSource::rows(100);
  auto table = TestDataSource::table(data);
  EXPECT_EQ(table->visibleCells().size(), 10u);
  EXPECT_EQ(table->contentSize().height, 4400);

  table->setContentOffset({0, 440});
  auto rows = table->indexPathsForVisibleRows();
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows.front(), (IndexPath{0, 10}));
  EXPECT_EQ(data.cellsMade, 10) << "cells leaving the view must come back through the pool";
  EXPECT_EQ(table->cellForRowAtIndexPath({0, 10})->frame(), (Rect{0, 440, 320, 44}));

  // Half a row further: the row partly in view at the bottom needs one more cell.
  table->setContentOffset({0, 462});
  EXPECT_EQ(table->visibleCells().size(), 11u);
  // Back to the top: the first rows get cells again, with their own texts.
  table->setContentOffset({0, 0});
  EXPECT_EQ(TestDataSource::shownTexts(*table).front(), "r0");
  EXPECT_EQ(data.cellsMade, 11);
}

TEST_F(TableViewTest, SelectionBelongsToTheRowNotToTheReusedCell) {
  auto data = TestDataSource::rows(30);
  auto table = TestDataSource::table(data, 44);
  table->selectRowAtIndexPath(IndexPath{0, 0}, false, ui::TableViewScrollPosition::None);
  ui::TableViewCell* first = table->cellForRowAtIndexPath({0, 0});
  table->setContentOffset({0, 44});
  ui::TableViewCell* reused = table->cellForRowAtIndexPath({0, 1});
  EXPECT_EQ(reused, first);
  EXPECT_FALSE(reused->isSelected());
  table->setContentOffset({0, 0});
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 0})->isSelected());
}

TEST_F(TableViewTest, ReloadDataReadsTheNewDataAndKeepsTheOffsetWithinTheContent) {
  auto data = TestDataSource::rows(50);
  auto table = TestDataSource::table(data);
  table->setContentOffset({0, 1000});
  data.sections[0].resize(12);
  table->reloadData();
  EXPECT_EQ(table->contentOffset().y, 12 * 44 - 440);
  EXPECT_EQ(TestDataSource::shownTexts(*table).back(), "r11");
}

TEST_F(TableViewTest, TapsAndFingersSelectRowsAndTellTheDelegate) {
  auto data = TestDataSource::rows(5);
  auto table = TestDataSource::table(data);
  EXPECT_TRUE(table->tapRowAtIndexPath({0, 2}));
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 2})->isSelected());
  EXPECT_TRUE(table->tapRowAtIndexPath({0, 3}));
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->isSelected());
  table->deselectRowAtIndexPath({0, 3}, true);
  EXPECT_FALSE(table->indexPathForSelectedRow());
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 3})->isSelected());
  EXPECT_FALSE(table->tapRowAtIndexPath({0, 9}));

  // A finger taps its row when lifted there, not on another row.
  ASSERT_TRUE(table->touchBegan({100, 50}));
  table->touchEnded({100, 60}, true);
  ASSERT_TRUE(table->touchBegan({100, 50}));
  table->touchEnded({100, 150}, true);
  EXPECT_EQ(data.selected, (std::vector<IndexPath>{{0, 2}, {0, 3}, {0, 1}}));

  table->setEditing(true, false);
  EXPECT_FALSE(table->tapRowAtIndexPath({0, 1})) << "no selection while editing by default";
}

// A grouped section's caption wraps instead of being cut: a long one makes the footer taller by
// whole lines, and its label shows every line.
TEST_F(TableViewTest, GroupedCaptionsWrapToTheirWholeText) {
  struct Captioned : TestDataSource {
    std::string caption;
    std::optional<std::string> titleForFooterInSection(ui::TableView&, int) override {
      return caption;
    }
  } data;
  data.sections = {{"a", "b"}};
  double heights[2];
  for (int i = 0; i < 2; ++i) {
    data.caption = i ? std::string(400, 'w') : "Short";
    ui::TableView table({0, 0, 320, 480}, ui::TableViewStyle::Grouped);
    table.setDataSource(&data);
    table.reloadData();
    heights[i] = table.contentSize().height;
    auto footer = std::find_if(table.subviews().begin(), table.subviews().end(), [&](auto& v) {
      auto* label = dynamic_cast<const ui::Label*>(v.get());
      return label && label->text() == data.caption && label->numberOfLines() == 0;
    });
    ASSERT_NE(footer, table.subviews().end());
    EXPECT_EQ((*footer)->frame().maxY() + table.sectionFooterHeight(), heights[i]);
  }
  EXPECT_GT(heights[1], heights[0] + 40) << "the long caption did not get more lines";
}

}  // namespace
