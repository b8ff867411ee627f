#include <gtest/gtest.h>

#include <numbers>

#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;
using ui::InterfaceOrientation;

namespace {

constexpr double kPi = std::numbers::pi;

// A root screen that turns with the device only while `follows` is set.
struct Screen : ui::ViewController {
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation) override { return follows; }
  bool follows = true;
};

class WindowAttachTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window->makeKeyAndVisible();
    window->setRootViewController(screen);
    window->attachView(panel);
  }
  // Turns the window to `w` with the device, then the device alone to `d`.
  void turn(InterfaceOrientation w, InterfaceOrientation d) {
    screen->follows = true;
    ui::Application::shared().rotate(w);
    screen->follows = false;
    ui::Application::shared().rotate(d);
    loop.runFor(1);
  }
  std::shared_ptr<Screen> screen = std::make_shared<Screen>();
  std::shared_ptr<ui::View> panel = std::make_shared<ui::View>(Rect{0, 0, 160, 160});
  std::unique_ptr<ui::Window> window = std::make_unique<ui::Window>();
};

TEST_F(WindowAttachTest, TurnsByDeviceAngleMinusWindowAngleAndStaysCentred) {
  using IO = InterfaceOrientation;
  constexpr IO P = IO::Portrait, U = IO::PortraitUpsideDown, L = IO::LandscapeLeft,
               R = IO::LandscapeRight;
  // Window, device, the panel's turn in quarter turns.
  const std::tuple<IO, IO, double> rows[] = {{P, P, 0}, {P, U, 2}, {P, L, -1}, {P, R, 1}, {U, L, 1},
                                             {L, P, 1}, {L, R, 2}, {R, P, -1}, {R, U, 1}};
  for (const auto& [window, device, quarters] : rows) {
    SCOPED_TRACE(testing::Message() << int(window) << " " << int(device));
    turn(window, device);
    EXPECT_NEAR(panel->transform().rotation, quarters * kPi / 2, 1e-9);
    EXPECT_EQ(panel->frame(),
              (ui::isLandscape(window) ? Rect{160, 80, 160, 160} : Rect{80, 160, 160, 160}));
  }
}

TEST_F(WindowAttachTest, CentredOnResizeAndForgottenOnceRemoved) {
  auto other = std::make_shared<ui::View>(Rect{0, 0, 100, 50});
  window->attachView(other);
  window->setFrame({0, 0, 400, 300});
  window->layoutIfNeeded();
  EXPECT_EQ(panel->frame(), (Rect{120, 70, 160, 160}));

  panel->removeFromSuperview();
  EXPECT_FALSE(window->isAttached(*panel));
  screen->follows = false;
  ui::Application::shared().rotate(InterfaceOrientation::LandscapeLeft);
  loop.runFor(1);
  EXPECT_EQ(panel->transform().rotation, 0);
  EXPECT_NEAR(other->transform().rotation, -kPi / 2, 1e-9);
}

}  // namespace
