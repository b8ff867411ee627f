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
  EXPECT_EQ(data.cellsMade, 10);
  EXPECT_EQ(table->contentSize().height, 4400);

  table->setContentOffset({0, 440});
  auto rows = table->indexPathsForVisibleRows();
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows.front(), (IndexPath{0, 10}));
  EXPECT_EQ(rows.back(), (IndexPath{0, 19}));
  EXPECT_EQ(data.cellsMade, 10) << "cells leaving the view must come back through the pool";
  EXPECT_EQ(TestDataSource::shownTexts(*table).front(), "r10");
  EXPECT_EQ(table->cellForRowAtIndexPath({0, 10})->frame(), (Rect{0, 440, 320, 44}));
  EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr);

  // Half a row further: the row partly in view at the bottom needs one more cell.
  table->setContentOffset({0, 462});
  EXPECT_EQ(table->visibleCells().size(), 11u);
  EXPECT_EQ(data.cellsMade, 11);

  // Back to the top: the first rows get cells again, with their own texts.
  table->setContentOffset({0, 0});
  EXPECT_EQ(TestDataSource::shownTexts(*table).front(), "r0");
  EXPECT_EQ(data.cellsMade, 11);
}

struct TwoKindsSource : TestDataSource {
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table,
                                                           ui::IndexPath p) override {
    std::string id = p.row % 2 ? "odd" : "even";
    auto cell = table.dequeueReusableCellWithIdentifier(id);
    if (!cell) {
      cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, id);
      ++cellsMade;
    }
    return cell;
  }
};

TEST_F(TableViewTest, CellsAreReusedOnlyUnderTheirOwnIdentifier) {
  TwoKindsSource data;
  data.sections = {std::vector<std::string>(40, "x")};
  auto table = TestDataSource::table(data, 88);
  table->setContentOffset({0, 88});
  for (ui::TableViewCell* cell : table->visibleCells()) {
    auto path = table->indexPathForCell(cell);
    ASSERT_TRUE(path);
    EXPECT_EQ(cell->reuseIdentifier(), path->row % 2 ? "odd" : "even");
  }
  EXPECT_EQ(data.cellsMade, 2);
  EXPECT_EQ(table->dequeueReusableCellWithIdentifier("none"), nullptr);
}

TEST_F(TableViewTest, DequeuedCellIsPreparedForReuse) {
  auto data = TestDataSource::rows(30);
  auto table = TestDataSource::table(data, 44);
  table->selectRowAtIndexPath(IndexPath{0, 0}, false, ui::TableViewScrollPosition::None);
  ui::TableViewCell* first = table->cellForRowAtIndexPath({0, 0});
  ASSERT_TRUE(first && first->isSelected());
  table->setContentOffset({0, 44});
  ui::TableViewCell* reused = table->cellForRowAtIndexPath({0, 1});
  EXPECT_EQ(reused, first);
  EXPECT_FALSE(reused->isSelected());
  // The selection belongs to the row, not to the cell that showed it.
  table->setContentOffset({0, 0});
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 0})->isSelected());
}

struct TallRows : TestDataSource {
  double heightForRowAtIndexPath(ui::TableView&, ui::IndexPath p) override {
    return p.row == 0 ? 121 : 60;
  }
};

TEST_F(TableViewTest, RowHeightsComeFromTheDelegateOrTheTable) {
  TallRows data;
  data.sections = {{"a", "b", "c"}};
  auto table = TestDataSource::table(data);
  EXPECT_EQ(table->rectForRowAtIndexPath({0, 1}), (Rect{0, 121, 320, 60}));
  EXPECT_EQ(table->contentSize().height, 241);

  auto plain = TestDataSource::rows(3);
  auto other = std::make_shared<ui::TableView>(Rect{0, 0, 320, 400});
  other->setDataSource(&plain);
  EXPECT_EQ(other->rowHeight(), 44);
  EXPECT_EQ(other->rectForRowAtIndexPath({0, 2}), (Rect{0, 88, 320, 44}));
  EXPECT_EQ(other->indexPathForRowAtPoint({10, 50}), (IndexPath{0, 1}));
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

TEST_F(TableViewTest, TapSelectsTheRowAndTellsTheDelegate) {
  auto data = TestDataSource::rows(5);
  auto table = TestDataSource::table(data);
  EXPECT_TRUE(table->tapRowAtIndexPath({0, 2}));
  EXPECT_EQ(data.selected, (std::vector<IndexPath>{{0, 2}}));
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 2})->isSelected());

  EXPECT_TRUE(table->tapRowAtIndexPath({0, 3}));
  EXPECT_EQ(data.deselected, (std::vector<IndexPath>{{0, 2}}));
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->isSelected());

  table->deselectRowAtIndexPath({0, 3}, true);
  EXPECT_FALSE(table->indexPathForSelectedRow());
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 3})->isSelected());

  EXPECT_FALSE(table->tapRowAtIndexPath({0, 9}));
  table->setEditing(true, false);
  EXPECT_FALSE(table->tapRowAtIndexPath({0, 1})) << "no selection while editing by default";
  EXPECT_EQ(data.selected.size(), 2u);
}

TEST_F(TableViewTest, FingerOnARowTapsIt) {
  auto data = TestDataSource::rows(5);
  auto table = TestDataSource::table(data);
  ASSERT_TRUE(table->touchBegan({100, 50}));
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 1})->isHighlighted());
  table->touchEnded({100, 60}, true);
  EXPECT_EQ(data.selected, (std::vector<IndexPath>{{0, 1}}));
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 1})->isHighlighted());

  // Lifted on another row: no tap.
  ASSERT_TRUE(table->touchBegan({100, 50}));
  table->touchEnded({100, 150}, true);
  EXPECT_EQ(data.selected.size(), 1u);
}

TEST_F(TableViewTest, SubtitleCellHasADetailLabelAndDefaultCellHasNone) {
  ui::TableViewCell plain(ui::TableViewCellStyle::Default, "a");
  EXPECT_EQ(plain.detailTextLabel(), nullptr);
  auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Subtitle, "b");
  cell->setFrame(Rect{0, 0, 320, 60});
  cell->textLabel()->setText("title");
  cell->detailTextLabel()->setText("detail");
  cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  cell->layoutIfNeeded();
  EXPECT_LT(cell->contentView()->frame().width(), 320) << "room for the accessory";
  EXPECT_LT(cell->textLabel()->frame().y(), cell->detailTextLabel()->frame().y());

  cell->textLabel()->setHighlightedTextColor(graphics::Color::white());
  cell->setSelected(true, false);
  EXPECT_TRUE(cell->textLabel()->isHighlighted());
  cell->prepareForReuse();
  EXPECT_FALSE(cell->isSelected());
  EXPECT_FALSE(cell->textLabel()->isHighlighted());
}

}  // namespace

namespace {

// A grouped section's caption wraps instead of being cut: a long one makes the footer taller by
// whole lines, and its label shows every line.
TEST_F(TableViewTest, GroupedCaptionsWrapToTheirWholeText) {
  struct Captioned : TestDataSource {
    std::string caption;
    std::optional<std::string> titleForFooterInSection(ui::TableView&, int) override {
      return caption;
    }
  };
  const std::string shortCaption = "Short", longCaption(400, 'w');
  double heights[2];
  for (int i = 0; i < 2; ++i) {
    Captioned data;
    data.sections = {{"a", "b"}};
    data.caption = i ? longCaption : shortCaption;
    ui::TableView table({0, 0, 320, 480}, ui::TableViewStyle::Grouped);
    table.setDataSource(&data);
    table.reloadData();
    heights[i] = table.contentSize().height;
    const ui::Label* footer = nullptr;
    for (const auto& view : table.subviews()) {
      auto* label = dynamic_cast<const ui::Label*>(view.get());
      if (label && label->text() == data.caption) footer = label;
    }
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->numberOfLines(), 0);
    EXPECT_EQ(footer->frame().maxY() + table.sectionFooterHeight(), heights[i]);
  }
  EXPECT_GT(heights[1], heights[0] + 40) << "the long caption did not get more lines";
}

}  // namespace
