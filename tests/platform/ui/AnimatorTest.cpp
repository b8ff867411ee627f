#include <gtest/gtest.h>

#include <optional>

#include "platform/ui/Animator.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;

namespace {
class AnimatorTest : public UiTest {
 protected:
  base::RunLoop& loop = base::RunLoop::main();
};
}  // namespace

TEST_F(AnimatorTest, StepsThroughTheValuesAndEndsExactly) {
  auto view = std::make_shared<ui::View>(Rect{0, 0, 100, 100});
  std::optional<bool> finished;
  ui::animate(
      1.0,
      [&] {
        view->setFrame({100, 0, 100, 100});
        view->setAlpha(0);
        view->setTransform(ui::Transform::scaled(2));
      },
      [&](bool f) { finished = f; });
  // Nothing moves before the first frame.
  EXPECT_EQ(view->frame().x(), 0);
  EXPECT_EQ(view->alpha(), 1);

  loop.runFor(0.5);
  EXPECT_NEAR(view->frame().x(), 50, 2);
  EXPECT_NEAR(view->alpha(), 0.5, 0.02);
  EXPECT_NEAR(view->transform().scale, 1.5, 0.02);
  EXPECT_FALSE(finished);

  loop.runFor(0.5);
  EXPECT_EQ(view->frame(), (Rect{100, 0, 100, 100}));
  EXPECT_EQ(view->alpha(), 0);
  EXPECT_EQ(finished, std::optional<bool>(true));
  EXPECT_EQ(ui::Animator::shared().runningCount(), 0u);
}

TEST_F(AnimatorTest, DelayKeepsTheOldValueUntilItStarts) {
  auto view = std::make_shared<ui::View>();
  bool done = false;
  ui::animate(
      0.2, [&] { view->setAlpha(0); }, [&](bool) { done = true; }, {.delay = 0.3});
  loop.runFor(0.25);
  EXPECT_EQ(view->alpha(), 1);
  loop.runFor(0.15);
  EXPECT_NEAR(view->alpha(), 0.5, 0.1);
  EXPECT_FALSE(done);
  loop.runFor(0.1);
  EXPECT_TRUE(done);
  EXPECT_EQ(view->alpha(), 0);
}

TEST_F(AnimatorTest, ANewAnimationTakesOverTheProperty) {
  auto view = std::make_shared<ui::View>();
  view->setAlpha(0);
  std::optional<bool> first, second;
  ui::animate(
      1.0, [&] { view->setAlpha(1); }, [&](bool f) { first = f; });
  loop.runFor(0.5);
  // From the current state: starts at about 0.5 and goes down to 0 over 0.5 seconds.
  ui::animate(
      0.5, [&] { view->setAlpha(0); }, [&](bool f) { second = f; },
      {.beginFromCurrentState = true});
  EXPECT_NEAR(view->alpha(), 0.5, 0.02);
  loop.runFor(0.25);
  EXPECT_NEAR(view->alpha(), 0.25, 0.04);
  loop.runFor(0.3);
  EXPECT_EQ(first, std::optional<bool>(false));
  EXPECT_EQ(second, std::optional<bool>(true));
  EXPECT_EQ(view->alpha(), 0);

  // Without it the new animation starts where the old one was heading.
  ui::animate(1.0, [&] { view->setAlpha(1); });
  loop.runFor(0.5);
  ui::animate(1.0, [&] { view->setAlpha(0.5); });
  EXPECT_EQ(view->alpha(), 1);
}

TEST_F(AnimatorTest, ADirectSettingWinsOverARunningAnimation) {
  auto view = std::make_shared<ui::View>(Rect{0, 0, 10, 10});
  std::optional<bool> finished;
  ui::animate(
      1.0,
      [&] {
        view->setFrame({100, 0, 10, 10});
      },
      [&](bool f) { finished = f; });
  loop.runFor(0.3);
  view->setFrame({0, 200, 10, 10});
  loop.runFor(1);
  EXPECT_EQ(view->frame(), (Rect{0, 200, 10, 10}));
  EXPECT_EQ(finished, std::optional<bool>(false));
}

TEST_F(AnimatorTest, DestroyingTheViewDropsTheAnimationAndItsCompletion) {
  auto view = std::make_shared<ui::View>();
  bool called = false;
  ui::animate(
      1.0, [&] { view->setAlpha(0); }, [&](bool) { called = true; });
  loop.runFor(0.5);
  view.reset();
  loop.runFor(1);
  EXPECT_FALSE(called);
  EXPECT_EQ(ui::Animator::shared().runningCount(), 0u);
}

TEST_F(AnimatorTest, CancellingStopsWhereTheViewStands) {
  auto view = std::make_shared<ui::View>();
  std::optional<bool> finished;
  ui::animate(
      1.0, [&] { view->setAlpha(0); }, [&](bool f) { finished = f; });
  loop.runFor(0.5);
  ui::Animator::shared().cancelAnimations(*view);
  EXPECT_EQ(finished, std::optional<bool>(false));
  double stood = view->alpha();
  loop.runFor(1);
  EXPECT_EQ(view->alpha(), stood);
  EXPECT_FALSE(ui::Animator::shared().isAnimating(*view));
}
