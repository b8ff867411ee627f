#include "sharing/core/SHKActivityIndicator.h"

#include <gtest/gtest.h>

#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

class SHKActivityIndicatorTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window_ = std::make_unique<ui::Window>();
    window_->makeKeyAndVisible();
    window_->setRootViewController(screen_);
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

  std::shared_ptr<ui::ViewController> screen_ = std::make_shared<ui::ViewController>();
  std::unique_ptr<ui::Window> window_;
  std::shared_ptr<SHKActivityIndicator> panel_;
};

TEST_F(SHKActivityIndicatorTest, PanelShowsOneStateAtATime) {
  panel_->displayActivity("Saving to Twitter");
  EXPECT_TRUE(panel_->spinner()->isAnimating());
  EXPECT_FALSE(panel_->centerMessageLabel());

  panel_->displayCompleted("Saved!");
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
  const std::pair<double, double> steps[] = {{0.05, 0.5}, {0.1, 1},      {0.6, 1},
                                             {0.8, 0.5},  {0.99, 0.025}, {1.01, 0}};
  for (const auto& [time, alpha] : steps) {
    base::RunLoop::main().runUntil(time);
    EXPECT_NEAR(panel_->alpha(), alpha, 0.06) << time;
    EXPECT_EQ(onScreen(), alpha > 0) << time;
  }
  EXPECT_NE(SHKActivityIndicator::currentIndicator(), panel_);
}

}  // namespace
