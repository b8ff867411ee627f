#include "sharing/core/SHKActivityIndicator.h"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <numbers>

#include "platform/graphics/Image.h"
#include "platform/graphics/PangoEngine.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Window.h"
#include "sharing/core/SHKViewControllerWrapper.h"
#include "sharing/core/WebViewPageTitle.h"
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
  }
  void TearDown() override {
    if (SHKActivityIndicator::exists()) {
      auto panel = SHKActivityIndicator::currentIndicator();
      panel->setAlpha(0);
      panel->hidden();
    }
    window_.reset();
    UiTest::TearDown();
  }
  void runTo(double t) { base::RunLoop::main().runUntil(t); }
  bool onScreen() const {
    return SHKActivityIndicator::exists() &&
           SHKActivityIndicator::currentIndicator()->superview() == window_.get();
  }
  // The rows of the panel's sub message that hold light pixels, as drawn on screen.
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
};

TEST_F(SHKActivityIndicatorTest, Geometry) {
  auto panel = SHKActivityIndicator::currentIndicator();
  EXPECT_EQ(SHKActivityIndicator::currentIndicator(), panel);
  EXPECT_EQ(panel->alpha(), 0);
  EXPECT_FALSE(panel->isUserInteractionEnabled());
  panel->displayActivity("Saving to Twitter");
  EXPECT_EQ(panel->frame(), (Rect{80, 160, 160, 160}));
  EXPECT_EQ(panel->subMessageLabel()->frame(), (Rect{12, 115, 136, 30}));
  EXPECT_EQ(panel->spinner()->frame(), (Rect{62, 62, 37, 37}));
  EXPECT_TRUE(panel->spinner()->isAnimating());
  EXPECT_FALSE(panel->centerMessageLabel());

  panel->displayCompleted("Saved!");
  EXPECT_EQ(panel->centerMessageLabel()->frame(), (Rect{12, 55, 136, 50}));
  EXPECT_EQ(panel->centerMessageLabel()->text(), "✓");
  EXPECT_EQ(panel->subMessageLabel()->text(), "Saved!");
  EXPECT_FALSE(panel->spinner());
  EXPECT_EQ(panel->subviews().size(), 2u);

  // No stale text: a message of nothing takes the label away.
  panel->displayActivity(std::nullopt);
  EXPECT_FALSE(panel->subMessageLabel());
  EXPECT_EQ(panel->subviews().size(), 1u);
}

TEST_F(SHKActivityIndicatorTest, FadesInThenHidesItselfAfterACompletedMessage) {
  SHKActivityIndicator::currentIndicator()->displayActivity("Logging In...");
  SHKActivityIndicator::currentIndicator()->displayCompleted("Saved!");
  auto panel = SHKActivityIndicator::currentIndicator();
  struct Step {
    double time, alpha;
    bool shown;
  };
  // Already in the window, the completed message fades to full over 0.1 seconds from where the
  // fade-in stood; 0.6 seconds later a 0.4-second fade-out.
  const Step steps[] = {{0.05, 0.5, true}, {0.1, 1, true},      {0.6, 1, true},
                        {0.8, 0.5, true},  {0.99, 0.025, true}, {1.01, 0, false}};
  for (const auto& s : steps) {
    runTo(s.time);
    EXPECT_NEAR(panel->alpha(), s.alpha, 0.06) << s.time;
    EXPECT_EQ(onScreen(), s.shown) << s.time;
  }
  EXPECT_FALSE(SHKActivityIndicator::exists());
  EXPECT_NE(SHKActivityIndicator::currentIndicator(), panel);
}

TEST_F(SHKActivityIndicatorTest, ActivityDuringTheFadeOutBringsItBack) {
  auto panel = SHKActivityIndicator::currentIndicator();
  panel->displayCompleted("Saved!");
  runTo(0.8);  // halfway out
  panel->displayActivity("Saving to Facebook");
  runTo(0.85);
  EXPECT_GT(panel->alpha(), 0.5);
  runTo(0.9);
  EXPECT_EQ(panel->alpha(), 1);
  runTo(5);
  EXPECT_TRUE(onScreen());
  EXPECT_EQ(panel->alpha(), 1);
  EXPECT_TRUE(panel->spinner());
}

TEST_F(SHKActivityIndicatorTest, StaysUprightAndReturnsUprightInPortrait) {
  auto panel = SHKActivityIndicator::currentIndicator();
  panel->displayActivity("Saving");
  struct Turn {
    InterfaceOrientation device;
    bool windowFollows;
    double rotation;
  };
  const Turn turns[] = {
      {InterfaceOrientation::LandscapeLeft, true, 0},  // the window turned with it
      {InterfaceOrientation::Portrait, true, 0},
      {InterfaceOrientation::PortraitUpsideDown, false, std::numbers::pi},
      {InterfaceOrientation::Portrait, false, 0},  // upright again
  };
  for (const auto& t : turns) {
    screen_->follows = t.windowFollows;
    ui::Application::shared().rotate(t.device);
    base::RunLoop::main().runFor(1);
    EXPECT_NEAR(panel->transform().rotation, t.rotation, 1e-9) << int(t.device);
    EXPECT_EQ(panel->center(), window_->bounds().center());
  }
}

TEST_F(SHKActivityIndicatorTest, CheckMarkIsDrawnAndLongMessagesShrink) {
  // The face itself has the glyph, so it does not depend on a fallback font being installed.
  {
    auto& engine = graphics::PangoEngine::shared();
    auto lock = engine.lock();
    PangoLayout* layout =
        engine.createLayout(SHKActivityIndicator::kCheckMark,
                            graphics::Font::named(SHKActivityIndicator::kCheckMarkFont, 40), 0,
                            graphics::LineBreakMode::WordWrap);
    PangoFont* font = pango_context_load_font(pango_layout_get_context(layout),
                                              pango_layout_get_font_description(layout));
    ASSERT_TRUE(font);
    EXPECT_TRUE(pango_font_has_char(font, 0x2713));
    g_object_unref(font);
    g_object_unref(layout);
  }

  auto panel = SHKActivityIndicator::currentIndicator();
  panel->displayCompleted("Saved!");
  runTo(0.3);
  const Rect tick{80 + 12, 160 + 55, 136, 50};
  auto [top, bottom] = inkedRows(tick);
  EXPECT_GT(bottom - top, 15);  // a 40-point mark, not a blank

  const Rect sub{80 + 12, 160 + 115, 136, 30};
  auto [shortTop, shortBottom] = inkedRows(sub);
  panel->setSubMessage("Saving to Instapaper and Pinboard");
  auto [longTop, longBottom] = inkedRows(sub);
  EXPECT_GT(shortBottom - shortTop, 10);
  EXPECT_GT(longBottom, longTop);
  EXPECT_LT(longBottom - longTop, (shortBottom - shortTop) * 0.7);
}

TEST_F(SHKActivityIndicatorTest, SmallViewsForHostPrograms) {
  SHKViewControllerWrapper wrapper;
  for (auto o : {InterfaceOrientation::Portrait, InterfaceOrientation::PortraitUpsideDown,
                 InterfaceOrientation::LandscapeLeft, InterfaceOrientation::LandscapeRight})
    EXPECT_TRUE(wrapper.shouldAutorotateToInterfaceOrientation(o));

  auto web = std::make_shared<ui::WebView>(Rect{0, 0, 320, 416});
  auto* engine = dynamic_cast<ui::HeadlessWebEngine*>(&web->engine());
  ASSERT_TRUE(engine);
  web->loadRequest("http://vemo.vn/a.html");
  engine->finishLoad("Tin nóng");
  EXPECT_EQ(pageTitle(*web), "Tin nóng");
}

}  // namespace
