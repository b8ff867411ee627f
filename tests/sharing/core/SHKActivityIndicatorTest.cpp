#include "sharing/core/SHKActivityIndicator.h"

#include <gtest/gtest.h>

#include <numbers>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TempDir.h"

using graphics::Rect;
using ui::InterfaceOrientation;

namespace {

class Screen : public ui::ViewController {
 public:
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation) override { return follows; }
  bool follows = true;
};

class SHKActivityIndicatorTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window_ = std::make_unique<ui::Window>();
    window_->makeKeyAndVisible();
    window_->setRootViewController(screen_);
    screen_->view()->setBackgroundColor(graphics::Color::white());
    panel_ = SHKActivityIndicator::currentIndicator();
  }
  void TearDown() override {
    if (SHKActivityIndicator::exists()) {
      panel_->setAlpha(0);
      panel_->hidden();
    }
    window_.reset();
    UiTest::TearDown();
  }
  bool onScreen() const {
    return SHKActivityIndicator::exists() && panel_->superview() == window_.get();
  }
  // The first and last rows of `area` (in the window) that hold light pixels, as drawn.
  std::pair<int, int> inkedRows(const Rect& area) {
    testing_support::TempDir dir;
    EXPECT_TRUE(ui::Renderer::renderToPng(*window_, dir / "s.png"));
    auto png = graphics::Image::fromFile(dir / "s.png");
    int first = -1, last = -1;
    for (int y = int(area.origin.y); y < int(area.origin.y + area.height()); ++y) {
      for (int x = int(area.origin.x); x < int(area.origin.x + area.width()); ++x) {
        if (png->pixel(x, y).red > 0.8) {
          if (first < 0) first = y;
          last = y;
          break;
        }
      }
    }
    return {first, last};
  }

  std::shared_ptr<Screen> screen_ = std::make_shared<Screen>();
  std::unique_ptr<ui::Window> window_;
  std::shared_ptr<SHKActivityIndicator> panel_;
};

TEST_F(SHKActivityIndicatorTest, PanelShowsOneStateAtATimeInItsPlace) {
  panel_->displayActivity("Saving to Twitter");
  EXPECT_TRUE(panel_->spinner()->isAnimating());
  EXPECT_FALSE(panel_->centerMessageLabel());
  const std::pair<ui::View*, Rect> activity[] = {{panel_.get(), {80, 160, 160, 160}},
                                                 {panel_->subMessageLabel(), {12, 115, 136, 30}},
                                                 {panel_->spinner(), {62, 62, 37, 37}}};
  for (auto [view, frame] : activity) EXPECT_EQ(view->frame(), frame);

  panel_->displayCompleted("Saved!");
  EXPECT_EQ(panel_->centerMessageLabel()->frame(), (Rect{12, 55, 136, 50}));
  EXPECT_EQ(panel_->subMessageLabel()->text(), "Saved!");
  EXPECT_EQ(panel_->subviews().size(), 2u) << "no spinner";

  // No stale text: a message of nothing takes the label away.
  panel_->displayActivity(std::nullopt);
  EXPECT_FALSE(panel_->subMessageLabel());
  EXPECT_EQ(panel_->subviews().size(), 1u);
}

TEST_F(SHKActivityIndicatorTest, FadesInThenHidesItselfAfterACompletedMessage) {
  panel_->displayActivity("Logging In...");
  panel_->displayCompleted("Saved!");
  // Already in the window, the completed message fades to full over 0.1 seconds from where the
  // fade-in stood; 0.6 seconds later a 0.4-second fade-out.
  const struct {
    double time, alpha;
    bool shown;
  } steps[] = {{0.05, 0.5, true}, {0.1, 1, true},      {0.6, 1, true},
               {0.8, 0.5, true},  {0.99, 0.025, true}, {1.01, 0, false}};
  for (const auto& s : steps) {
    base::RunLoop::main().runUntil(s.time);
    EXPECT_NEAR(panel_->alpha(), s.alpha, 0.06) << s.time;
    EXPECT_EQ(onScreen(), s.shown) << s.time;
  }
  EXPECT_NE(SHKActivityIndicator::currentIndicator(), panel_);
}

TEST_F(SHKActivityIndicatorTest, ActivityDuringTheFadeOutBringsItBack) {
  panel_->displayCompleted("Saved!");
  base::RunLoop::main().runUntil(0.8);  // halfway out
  panel_->displayActivity("Saving to Facebook");
  base::RunLoop::main().runUntil(5);
  EXPECT_TRUE(onScreen());
  EXPECT_EQ(panel_->alpha(), 1);
}

TEST_F(SHKActivityIndicatorTest, StaysUprightAndReturnsUprightInPortrait) {
  panel_->displayActivity("Saving");
  const struct {
    InterfaceOrientation device;
    bool windowFollows;
    double rotation;
  } turns[] = {
      {InterfaceOrientation::LandscapeLeft, true, 0},  // the window turned with it
      {InterfaceOrientation::Portrait, true, 0},
      {InterfaceOrientation::PortraitUpsideDown, false, std::numbers::pi},
      {InterfaceOrientation::Portrait, false, 0},  // upright again
  };
  for (const auto& t : turns) {
    screen_->follows = t.windowFollows;
    ui::Application::shared().rotate(t.device);
    base::RunLoop::main().runFor(1);
    EXPECT_NEAR(panel_->transform().rotation, t.rotation, 1e-9) << int(t.device);
    EXPECT_EQ(panel_->center(), window_->bounds().center());
  }
}

// The mark is drawn (its font has the glyph), and a long message is drawn smaller to fit.
TEST_F(SHKActivityIndicatorTest, CheckMarkIsDrawnAndLongMessagesShrink) {
  panel_->displayCompleted("Saved!");
  base::RunLoop::main().runUntil(0.3);
  auto [top, bottom] = inkedRows({80 + 12, 160 + 55, 136, 50});
  EXPECT_GT(bottom - top, 15);  // a 40-point mark, not a blank
  const Rect sub{80 + 12, 160 + 115, 136, 30};
  auto [shortTop, shortBottom] = inkedRows(sub);
  panel_->setSubMessage("Saving to Instapaper and Pinboard");
  auto [longTop, longBottom] = inkedRows(sub);
  EXPECT_GT(shortBottom - shortTop, 10);
  EXPECT_GT(longBottom, longTop);
  EXPECT_LT(longBottom - longTop, (shortBottom - shortTop) * 0.7);
}

}  // namespace
