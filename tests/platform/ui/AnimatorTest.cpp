#include <gtest/gtest.h>

#include "platform/ui/Animator.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;

namespace {
using AnimatorTest = UiTest;
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
  loop.runFor(0.5);
  EXPECT_NEAR(view->frame().x(), 50, 2);
  EXPECT_NEAR(view->alpha(), 0.5, 0.02);
  EXPECT_NEAR(view->transform().scale, 1.5, 0.02);
  EXPECT_FALSE(finished);
  loop.runFor(0.5);
  EXPECT_EQ(view->frame(), (Rect{100, 0, 100, 100}));
  EXPECT_EQ(finished, std::optional<bool>(true));
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
  loop.runFor(0.25);
  EXPECT_NEAR(view->alpha(), 0.25, 0.04);
  loop.runFor(0.3);
  EXPECT_EQ(first, std::optional<bool>(false));
  EXPECT_EQ(second, std::optional<bool>(true));
}

TEST_F(AnimatorTest, InterruptedAnimationsStopWithoutFinishing) {
  using Interrupt = void (*)(std::shared_ptr<ui::View>&);
  // What happens, how, the completion's argument (nullopt: never called), the alpha left.
  const std::tuple<const char*, Interrupt, std::optional<bool>, double> rows[] = {
      {"set directly", [](auto& v) { v->setAlpha(0.8); }, false, 0.8},
      {"view destroyed", [](auto& v) { v.reset(); }, std::nullopt, 0},
      {"cancelled", [](auto& v) { ui::Animator::shared().cancelAnimations(*v); }, false, 0.5}};
  for (const auto& [name, interrupt, expected, alpha] : rows) {
    SCOPED_TRACE(name);
    auto view = std::make_shared<ui::View>();
    std::optional<bool> finished;
    ui::animate(
        1.0, [&] { view->setAlpha(0); }, [&](bool f) { finished = f; });
    loop.runFor(0.5);
    interrupt(view);
    loop.runFor(1);
    EXPECT_EQ(finished, expected);
    EXPECT_NEAR(view ? view->alpha() : alpha, alpha, 0.02);
    EXPECT_EQ(ui::Animator::shared().runningCount(), 0u);
  }
}
