#include <gtest/gtest.h>

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Touch.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/platform/ui/table/TestDataSource.h"

using ui::IndexPath;
using ui::TableViewRowAnimation;
using Texts = std::vector<std::string>;

namespace {

class TableViewEditingTest : public UiTest {
 protected:
  // Lets row animations end, then every visible cell sits exactly where its row is, fully shown.
  void expectRowsInPlace() {
    loop.runFor(ui::TableView::kRowAnimationDuration + 0.05);
    for (ui::TableViewCell* cell : table->visibleCells()) {
      auto path = table->indexPathForCell(cell);
      ASSERT_TRUE(path);
      EXPECT_EQ(cell->frame(), table->rectForRowAtIndexPath(*path));
      EXPECT_EQ(cell->alpha(), 1);
      EXPECT_EQ(cell->superview(), table.get());
    }
  }
  void restart() {
    data = TestDataSource::rows(4);
    table->reloadData();
    table->setEditing(true, false);
  }

  TestDataSource data = TestDataSource::rows(4);
  std::shared_ptr<ui::TableView> table = TestDataSource::table(data);
};

TEST_F(TableViewEditingTest, EditingShowsControlsAndDeletesThroughTheDataSource) {
  for (bool editing : {true, false}) {
    table->setEditing(editing, true);
    for (ui::TableViewCell* cell : table->visibleCells()) {
      cell->layoutIfNeeded();
      EXPECT_EQ(cell->showsEditingControl() && cell->showsReorderHandle(), editing);
      EXPECT_EQ(cell->contentView()->frame().x() > 0, editing);
    }
  }
  EXPECT_FALSE(table->tapEditingControlForRowAtIndexPath({0, 1})) << "only while editing";
  table->setEditing(true, false);
  ui::TableViewCell* leaving = table->cellForRowAtIndexPath({0, 1});
  ASSERT_TRUE(table->tapEditingControlForRowAtIndexPath({0, 1}));
  EXPECT_EQ(TestDataSource::shownTexts(*table), (Texts{"r0", "r2", "r3"}));
  EXPECT_EQ(leaving->superview(), table.get()) << "still sliding out";
  expectRowsInPlace();
  EXPECT_EQ(leaving->superview(), nullptr);
}

TEST_F(TableViewEditingTest, RefusedMovesChangeNothingAndTheSelectionFollowsItsRow) {
  table->selectRowAtIndexPath(IndexPath{0, 2}, false, ui::TableViewScrollPosition::None);
  table->setEditing(true, false);
  EXPECT_FALSE(table->dragRow({0, 0}, {0, 4})) << "past the last row";
  data.movable = false;
  EXPECT_FALSE(table->dragRow({0, 0}, {0, 2}));
  EXPECT_EQ(data.sections[0], (Texts{"r0", "r1", "r2", "r3"}));
  data.movable = true;
  table->dragRow({0, 2}, {0, 0});
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 0}));
  table->tapEditingControlForRowAtIndexPath({0, 0});
  EXPECT_FALSE(table->indexPathForSelectedRow());
}

TEST_F(TableViewEditingTest, EveryRowAnimationEndsWithTheRowsInPlace) {
  using A = TableViewRowAnimation;
  for (auto animation : {A::Fade, A::Right, A::Left, A::Top, A::Bottom, A::None, A::Middle}) {
    SCOPED_TRACE(static_cast<int>(animation));
    data.sections[0].insert(data.sections[0].begin(), "new");
    data.sections[0].push_back("last");
    table->insertRowsAtIndexPaths({{0, 0}, {0, 5}}, animation);
    EXPECT_EQ(TestDataSource::shownTexts(*table), data.sections[0]);
    expectRowsInPlace();
    data.sections[0] = {"r0", "r1", "r2", "r3"};
    table->deleteRowsAtIndexPaths({{0, 0}, {0, 5}}, animation);
    EXPECT_EQ(TestDataSource::shownTexts(*table), data.sections[0]);
    expectRowsInPlace();
    EXPECT_EQ(table->subviews().size(), 4u) << "no cell left behind";
  }
}

// A batch uses indexes from before and after; an update that does not match the data reloads
// instead of corrupting the rows.
TEST_F(TableViewEditingTest, BatchedAndMismatchedUpdates) {
  table->visibleCells();
  table->beginUpdates();
  data.sections[0] = {"r0", "r2", "r3", "x"};
  table->deleteRowsAtIndexPaths({{0, 1}}, TableViewRowAnimation::Fade);
  table->insertRowsAtIndexPaths({{0, 3}}, TableViewRowAnimation::Fade);
  EXPECT_EQ(TestDataSource::shownTexts(*table), (Texts{"r0", "r1", "r2", "r3"}));
  table->endUpdates();
  EXPECT_EQ(TestDataSource::shownTexts(*table), data.sections[0]);
  expectRowsInPlace();

  base::LogCapture log;
  data.sections[0].push_back("a");
  data.sections[0].push_back("b");
  table->insertRowsAtIndexPaths({{0, 4}}, TableViewRowAnimation::Fade);  // two were added
  EXPECT_EQ(TestDataSource::shownTexts(*table), data.sections[0]);
  table->deleteRowsAtIndexPaths({{0, 9}}, TableViewRowAnimation::Fade);  // no such row
  EXPECT_EQ(TestDataSource::shownTexts(*table), data.sections[0]);
  EXPECT_EQ(log.lines().size(), 2u);
}

// Rows are 44 points high and 320 wide; a finger's place in a row: its delete control at the
// left, its body, the "Delete" button a confirmation shows, its reorder handle at the right.
enum class Spot { Control, Body, DeleteButton, Handle };
graphics::Point spot(int row, Spot where) {
  const double x[] = {16, 160, 278, 304};
  return {x[static_cast<int>(where)], row * 44.0 + 22};
}

TEST_F(TableViewEditingTest, OnlyTheDeleteButtonThatTheControlRevealsDeletes) {
  using S = Spot;
  const Texts all{"r0", "r1", "r2", "r3"};
  // Taps (row, place), the rows left, the row asking for confirmation.
  const std::tuple<std::vector<std::pair<int, Spot>>, Texts, std::optional<IndexPath>> cases[] = {
      {{{1, S::Control}}, all, IndexPath{0, 1}},           // the control only asks
      {{{1, S::Control}, {1, S::Body}}, all, {}},          // a tap on the row: no question
      {{{1, S::Control}, {2, S::Control}}, all, {}},       // nor another row's control
      {{{1, S::Control}, {2, S::DeleteButton}}, all, {}},  // nor its place of the button
      {{{1, S::Control}, {1, S::DeleteButton}}, {"r0", "r2", "r3"}, {}},  // the button deletes
      {{{1, S::DeleteButton}}, all, {}}};  // unasked, it does nothing
  for (const auto& [taps, rows, confirming] : cases) {
    SCOPED_TRACE(taps.size() * 10 + static_cast<int>(taps.back().second));
    restart();
    for (auto [row, where] : taps) ui::tap(*table, spot(row, where));
    EXPECT_EQ(data.sections[0], rows);
    EXPECT_EQ(table->indexPathShowingDeleteConfirmation(), confirming);
    for (ui::TableViewCell* cell : table->visibleCells()) {
      bool asked = confirming && table->indexPathForCell(cell) == confirming;
      EXPECT_EQ(cell->showsDeleteConfirmation(), asked);
      EXPECT_EQ(cell->showsReorderHandle(), !asked) << "the button stands in for the handle";
    }
    EXPECT_TRUE(data.selected.empty());
    table->setEditing(false, false);
    EXPECT_FALSE(table->indexPathShowingDeleteConfirmation());
    loop.runFor(ui::TableView::kRowAnimationDuration + 0.05);
  }
}

TEST_F(TableViewEditingTest, AFingerOnTheHandleDragsTheRowWhereItIsLetGo) {
  // The row, where the finger is put, where it is let go, the rows then.
  const std::tuple<int, Spot, double, Texts> cases[] = {
      {3, Spot::Handle, 5, {"r3", "r0", "r1", "r2"}},            // bottom row to the top
      {0, Spot::Handle, 500, {"r1", "r2", "r3", "r0"}},          // top row past the end
      {1, Spot::Handle, 2 * 44 + 30, {"r0", "r2", "r1", "r3"}},  // one row down
      {2, Spot::Handle, 2 * 44 + 10, {"r0", "r1", "r2", "r3"}},  // let go in its own place
      {3, Spot::Body, 5, {"r0", "r1", "r2", "r3"}}};             // the body moves nothing
  for (const auto& [row, where, toY, rows] : cases) {
    SCOPED_TRACE(row);
    restart();
    graphics::Point start = spot(row, where);
    ui::Touch touch = ui::Touch::begin(*table, start);
    EXPECT_EQ(table->isTrackingTouch(), where == Spot::Handle);
    touch.moveTo({start.x, toY});
    touch.end({start.x, toY});
    EXPECT_EQ(data.sections[0], rows);
    EXPECT_EQ(TestDataSource::shownTexts(*table), rows);
    expectRowsInPlace();
    EXPECT_FALSE(table->isTrackingTouch());
  }
}

}  // namespace
