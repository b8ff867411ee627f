#include <gtest/gtest.h>

#include "platform/ui/ScrollView.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Point;

namespace {

// The screens hear only where a scroll came to rest.
struct RecordingDelegate : ui::ScrollViewDelegate {
  std::vector<Point> stops;
  void scrollViewDidEndDecelerating(ui::ScrollView& s) override {
    stops.push_back(s.contentOffset());
  }
};

// The lead reader's pager: five pages of 320 × 372.
class PagerTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pager->setPagingEnabled(true);
    pager->setContentSize({5 * 320, 372});
    pager->setDelegate(&delegate);
  }
  // Drags by `dx`, lets go at `speed` and lets the snap run.
  void swipe(double dx, double speed = 0) {
    pager->beginDrag();
    pager->dragBy(dx, 0);
    pager->endDrag({speed, 0});
    loop.runFor(0.3);
  }
  std::shared_ptr<ui::ScrollView> pager =
      std::make_shared<ui::ScrollView>(graphics::Rect{0, 44, 320, 372});
  RecordingDelegate delegate;
};

// A slow drag snaps to the nearest page, a quick flick turns one page; the edges hold, bouncing
// back from a half-speed drag past them.
TEST_F(PagerTest, SnapsFlicksAndHoldsAtTheEdges) {
  const struct {
    double from, dx, speed, to;
  } rows[] = {
      {320, -200, 0, 640}, {640, 100, 0, 640}, {0, -40, -800, 320}, {1280, -300, -2000, 1280}};
  for (const auto& row : rows) {
    pager->setContentOffset({row.from, 0});
    swipe(row.dx, row.speed);
    EXPECT_EQ(pager->contentOffset(), (Point{row.to, 0})) << row.from << " " << row.dx;
    EXPECT_EQ(delegate.stops.back(), pager->contentOffset()) << "the stop comes after the snap";
  }
  EXPECT_EQ(delegate.stops.size(), 4u);

  pager->setContentOffset({0, 0});
  pager->beginDrag();
  pager->dragBy(100, 0);
  EXPECT_EQ(pager->contentOffset(), (Point{-50, 0}));
  pager->endDrag({});
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{0, 0}));
}

TEST_F(PagerTest, ScrollRectToVisibleMovesTheLeastAndStaysInside) {
  pager->scrollRectToVisible({320, 0, 320, 372}, true);
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{320, 0}));
  pager->scrollRectToVisible({5000, 0, 10, 10}, false);  // beyond the content: clamped
  EXPECT_EQ(pager->contentOffset(), (Point{1280, 0}));
  pager->scrollRectToVisible({330, 10, 20, 20}, false);  // just the left edge moves
  EXPECT_EQ(pager->contentOffset(), (Point{330, 0}));
}

TEST_F(PagerTest, AFreeScrollSettlesInsideAndADestroyedOneStopsQuietly) {
  auto list = std::make_shared<ui::ScrollView>(graphics::Rect{0, 44, 320, 416});
  list->setContentSize({320, 1000});
  list->setDelegate(&delegate);
  list->beginDrag();
  list->dragBy(30, -100);  // the horizontal part cannot move narrow content
  EXPECT_EQ(list->contentOffset(), (Point{0, 100}));
  EXPECT_TRUE(list->endDrag({0, -5000}));
  loop.runFor(0.3);
  EXPECT_EQ(list->contentOffset(), (Point{0, 1000 - 416}));
  EXPECT_EQ(delegate.stops.size(), 1u);

  pager->beginDrag();
  pager->dragBy(-200, 0);
  pager->endDrag({});
  pager.reset();
  loop.runFor(0.5);
  EXPECT_EQ(delegate.stops.size(), 1u);
}

}  // namespace
