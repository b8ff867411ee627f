#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Touch.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;

namespace {

class ButtonTapTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    root->addSubview(button);
    button->addTarget([this] {
      events.push_back(button->isHighlighted() ? "action while highlighted" : "action");
    });
  }
  std::shared_ptr<ui::View> root = std::make_shared<ui::View>(Rect{0, 0, 320, 460});
  std::shared_ptr<ui::Button> button = std::make_shared<ui::Button>(Rect{0, 0, 40, 40});
  std::vector<std::string> events;
};

}  // namespace

TEST_F(ButtonTapTest, ActionRunsOnlyWhenLiftedInside) {
  ui::Touch dragged = ui::Touch::begin(*root, {20, 20});
  dragged.moveTo({200, 200});
  dragged.end({200, 200});
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(ui::tap(*root, {20, 20}));
  EXPECT_EQ(events, std::vector<std::string>{"action"});
}

// A disabled button swallows taps without acting; while the application is busy (counted) taps
// are not taken at all.
TEST_F(ButtonTapTest, DisabledButtonsAndABusyApplicationIgnoreTaps) {
  struct Catcher : ui::View {
    bool hit = false;
    Catcher() : ui::View({0, 0, 40, 40}) {}
    bool touchBegan(graphics::Point) override { return hit = true; }
  };
  auto below = std::make_shared<Catcher>();
  root->insertSubview(below, 0);
  button->setEnabled(false);
  EXPECT_TRUE(ui::tap(*root, {20, 20}));
  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(below->hit);

  button->setEnabled(true);
  auto& app = ui::Application::shared();
  app.beginIgnoringInteractionEvents();
  app.beginIgnoringInteractionEvents();
  app.endIgnoringInteractionEvents();
  EXPECT_FALSE(ui::tap(*root, {20, 20}));
  app.endIgnoringInteractionEvents();
  EXPECT_TRUE(ui::tap(*root, {20, 20}));
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(ButtonTapTest, AButtonMayGoAwayDuringItsOwnTouch) {
  // The screens rebuild their views from button actions; the button must outlive the call.
  auto doomed = std::make_shared<ui::Button>(Rect{100, 100, 40, 40});
  int runs = 0;
  doomed->addTarget([&, raw = doomed.get()] { raw->removeFromSuperview(); });
  doomed->addTarget([&] { ++runs; });
  root->addSubview(doomed);
  doomed.reset();
  EXPECT_TRUE(ui::tap(*root, {110, 110}));
  EXPECT_EQ(runs, 1);

  // A touch on a view that went away ends quietly.
  ui::Touch touch = ui::Touch::begin(*root, {20, 20});
  button->removeFromSuperview();
  button.reset();
  touch.end({20, 20});
  EXPECT_TRUE(events.empty());
}
