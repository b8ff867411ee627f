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

// A completed message stays up for a moment, then the panel leaves the window for good.
TEST_F(SHKActivityIndicatorTest, HidesItselfAfterACompletedMessage) {
  panel_->displayActivity("Logging In...");
  panel_->displayCompleted("Saved!");
  base::RunLoop::main().runUntil(0.6);
  EXPECT_TRUE(onScreen());
  base::RunLoop::main().runUntil(1.01);
  EXPECT_FALSE(onScreen());
  EXPECT_NE(SHKActivityIndicator::currentIndicator(), panel_);
}

}  // namespace
