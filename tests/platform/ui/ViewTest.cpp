#include <gtest/gtest.h>

#include <numbers>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

using graphics::Rect;
using ui::View;

namespace {

std::shared_ptr<View> viewAt(Rect frame, int tag = 0) {
  auto v = std::make_shared<View>(frame);
  v->setTag(tag);
  return v;
}

// Tags are searched depth first from the view itself; a view whose superview holds the only
// reference survives its own removal; adding moves a view and refuses cycles.
TEST(ViewTreeTest, TagsMovesAndCycles) {
  auto root = viewAt({0, 0, 320, 460}, 7), a = viewAt({}, 1), deep = viewAt({}, 999);
  auto b = viewAt({}, 999);
  a->addSubview(deep);
  root->addSubview(a);
  root->addSubview(b);
  EXPECT_EQ(root->viewWithTag(7), root.get());
  EXPECT_EQ(root->viewWithTag(999), deep.get());
  deep.reset();
  root->viewWithTag(999)->removeFromSuperview();
  EXPECT_EQ(root->viewWithTag(999), b.get());

  b->addSubview(a);
  EXPECT_TRUE(root->subviews().size() == 1 && a->superview() == b.get());
  a->addSubview(root);  // root is a's ancestor
  EXPECT_EQ(root->superview(), nullptr);
  EXPECT_TRUE(a->subviews().empty());

  auto x = viewAt({}), y = viewAt({}), z = viewAt({});
  root->addSubview(x);
  root->addSubview(y);
  root->insertSubview(z, 0);
  EXPECT_EQ(root->subviews()[0], z);
  root->insertSubview(z, 100);  // clamped to the end
  EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<View>>{b, x, y, z}));
}

TEST(HitTestTest, FindsTheTopmostInteractiveView) {
  auto root = viewAt({0, 0, 320, 460});
  auto under = viewAt({0, 0, 100, 100}, 1);
  root->addSubview(under);
  EXPECT_EQ(root->hitTest({-1, 10}), nullptr);
  // Hidden, untouchable and invisible views let the tap through.
  for (auto hide :
       {+[](View& v) { v.setHidden(true); }, +[](View& v) { v.setUserInteractionEnabled(false); },
        +[](View& v) { v.setAlpha(0); }}) {
    auto over = viewAt({50, 50, 100, 100});
    root->addSubview(over);
    hide(*over);
    EXPECT_EQ(root->hitTest({60, 60}), under.get());
  }
  // A label on a button lets the tap through to the button.
  auto button = std::make_shared<ui::Button>(Rect{0, 200, 100, 50});
  button->addSubview(std::make_shared<ui::Label>(Rect{0, 0, 100, 50}));
  root->addSubview(button);
  EXPECT_EQ(root->hitTest({10, 210}), button.get());
  // Subviews outside their superview's bounds are not hit.
  auto outside = viewAt({200, 0, 50, 50});
  under->addSubview(outside);
  EXPECT_NE(root->hitTest({210, 10}), outside.get());
}

TEST(HitTestTest, FollowsScrollOffsetAndTransform) {
  auto root = viewAt({0, 0, 320, 460});
  auto scroll = std::make_shared<ui::ScrollView>(Rect{0, 44, 320, 372});
  scroll->setContentSize({960, 372});
  auto page2 = viewAt({320, 0, 320, 372}, 2);
  scroll->addSubview(page2);
  root->addSubview(scroll);
  scroll->setContentOffset({320, 0});
  EXPECT_EQ(root->hitTest({10, 100}), page2.get());

  // A 200 × 20 bar turned a quarter turn stands upright about its centre (100, 300).
  auto bar = viewAt({0, 290, 200, 20}, 3);
  root->addSubview(bar);
  bar->setTransform(ui::Transform::rotated(std::numbers::pi / 2));
  EXPECT_EQ(root->hitTest({100, 220}), bar.get());
  EXPECT_NE(root->hitTest({20, 300}), bar.get());
}

}  // namespace
