#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/ScrollView.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Point;
using graphics::Rect;

namespace {

struct RecordingDelegate : ui::ScrollViewDelegate {
  std::vector<Point> scrolls;
  std::vector<Point> stops;
  int animationEnds = 0;
  std::vector<bool> dragEnds;
  void scrollViewDidScroll(ui::ScrollView& s) override { scrolls.push_back(s.contentOffset()); }
  void scrollViewDidEndDragging(ui::ScrollView&, bool decelerate) override {
    dragEnds.push_back(decelerate);
  }
  void scrollViewDidEndDecelerating(ui::ScrollView& s) override {
    stops.push_back(s.contentOffset());
  }
  void scrollViewDidEndScrollingAnimation(ui::ScrollView&) override { ++animationEnds; }
};

// The lead reader's pager: five pages of 320 × 372.
class PagerTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pager = std::make_shared<ui::ScrollView>(Rect{0, 44, 320, 372});
    pager->setPagingEnabled(true);
    pager->setContentSize({5 * 320, 372});
    pager->setDelegate(&delegate);
  }
  void swipe(double dx, double speed = 0) {
    pager->beginDrag();
    pager->dragBy(dx, 0);
    pager->endDrag({speed, 0});
  }
  std::shared_ptr<ui::ScrollView> pager;
  RecordingDelegate delegate;
  base::RunLoop& loop = base::RunLoop::main();
};

}  // namespace

TEST_F(PagerTest, SnapsToTheNearestPageThenReportsTheStop) {
  pager->setContentOffset({320, 0});
  swipe(-200);  // past the middle of the next page
  EXPECT_EQ(delegate.dragEnds, std::vector<bool>{true});
  EXPECT_TRUE(delegate.stops.empty());
  loop.runFor(0.3);
  EXPECT_EQ(delegate.stops, (std::vector<Point>{{640, 0}}));

  swipe(100);  // a short drag back falls back to the same page
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{640, 0}));
  EXPECT_EQ(delegate.stops.size(), 2u);
}

TEST_F(PagerTest, AQuickFlickTurnsOnePageAndTheEdgesHold) {
  swipe(-40, -800);
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{320, 0}));

  // Dragging before the first page moves at half speed and bounces back.
  pager->setContentOffset({0, 0});
  pager->beginDrag();
  pager->dragBy(100, 0);
  EXPECT_EQ(pager->contentOffset(), (Point{-50, 0}));
  pager->endDrag({});
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{0, 0}));

  pager->setContentOffset({4 * 320, 0});
  swipe(-300, -2000);
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{4 * 320, 0}));

  // Without bouncing the content stops at the edge; a drag that does not move it ends at once.
  pager->setBounces(false);
  delegate.dragEnds.clear();
  size_t stops = delegate.stops.size();
  swipe(-100);
  EXPECT_EQ(pager->contentOffset(), (Point{4 * 320, 0}));
  EXPECT_EQ(delegate.dragEnds, std::vector<bool>{false});
  loop.runFor(0.3);
  EXPECT_EQ(delegate.stops.size(), stops);
}

TEST_F(PagerTest, ScrollRectToVisibleMovesTheLeastAndStaysInside) {
  pager->scrollRectToVisible({3 * 320, 0, 320, 372}, false);
  pager->scrollRectToVisible({3 * 320, 0, 320, 372}, true);  // already visible
  loop.runFor(0.5);
  EXPECT_EQ(delegate.animationEnds, 0);

  pager->scrollRectToVisible({320, 0, 320, 372}, true);
  loop.runFor(0.3);
  EXPECT_EQ(pager->contentOffset(), (Point{320, 0}));
  EXPECT_EQ(delegate.animationEnds, 1);
  EXPECT_GT(delegate.scrolls.size(), 5u);  // every frame reports the scroll

  pager->scrollRectToVisible({5000, 0, 10, 10}, false);  // beyond the content: clamped
  EXPECT_EQ(pager->contentOffset(), (Point{1280, 0}));
  pager->scrollRectToVisible({330, 10, 20, 20}, false);  // just the left edge moves
  EXPECT_EQ(pager->contentOffset(), (Point{330, 0}));
}

TEST_F(PagerTest, AFreeScrollGlidesAndSettlesInsideItsContent) {
  auto list = std::make_shared<ui::ScrollView>(Rect{0, 44, 320, 416});
  list->setContentSize({320, 1000});
  list->setDelegate(&delegate);
  list->beginDrag();
  list->dragBy(30, -100);  // the horizontal part cannot move narrow content
  EXPECT_EQ(list->contentOffset(), (Point{0, 100}));
  EXPECT_TRUE(list->endDrag({0, -5000}));
  loop.runFor(0.3);
  EXPECT_EQ(list->contentOffset(), (Point{0, 1000 - 416}));
  EXPECT_EQ(delegate.stops.size(), 1u);
}

TEST_F(PagerTest, ADestroyedPagerStopsItsSnapQuietly) {
  swipe(-200);
  pager.reset();
  loop.runFor(0.5);
  EXPECT_TRUE(delegate.stops.empty());
}
