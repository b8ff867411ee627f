#include <gtest/gtest.h>

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"

namespace {

using Calls = std::vector<std::string>;

struct Recorder : ui::AlertViewDelegate, ui::ActionSheetDelegate {
  Calls calls;
  void clickedButtonAtIndex(ui::AlertView& a, int i) override { add("clicked", a.title(), i); }
  void clickedButtonAtIndex(ui::ActionSheet& s, int i) override { add("sheet", s.title(), i); }
  void add(const std::string& what, const std::string& who, int i) {
    calls.push_back(what + " " + who + " " + std::to_string(i));
  }
};

class AlertStackTest : public ::testing::Test {
 protected:
  void TearDown() override { ui::AlertStack::shared().reset(); }
  ui::AlertStack& stack = ui::AlertStack::shared();
  Recorder recorder;
};

// Shown alerts are kept alive by the stack and answered newest first; a delegate gone while its
// alert is shown is not called.
TEST_F(AlertStackTest, StackedAlertsAreAnsweredNewestFirst) {
  std::make_shared<ui::AlertView>("first", "", &recorder, "OK")->show();
  std::make_shared<ui::AlertView>("second", "", &recorder, "OK")->show();
  ASSERT_EQ(stack.count(), 2u);
  auto* first = dynamic_cast<ui::AlertView*>(stack.at(0));
  EXPECT_FALSE(first->pressButton(0)) << "covered by the second alert";
  EXPECT_TRUE(stack.top()->pressButton(0));
  EXPECT_EQ(recorder.calls, (Calls{"clicked second 0"}));
  EXPECT_FALSE(first->pressButton(3)) << "no such button";
  {
    Recorder shortLived;
    first->setDelegate(&shortLived);
  }
  EXPECT_TRUE(first->pressButton(0));
  EXPECT_TRUE(stack.empty());
}

// Cancel comes first; of two buttons sharing the bottom row, the right one is the other button.
TEST_F(AlertStackTest, FingerOnAnAlertButtonPressesIt) {
  auto alert = std::make_shared<ui::AlertView>("t", "m", &recorder, "No", Calls{"Yes"});
  alert->show();
  graphics::Rect frame = alert->frame();
  EXPECT_EQ(frame.x(), (320 - frame.width()) / 2);
  graphics::Point right{frame.width() * 0.75, frame.height() - 30};
  ASSERT_TRUE(alert->touchBegan(right));
  alert->touchEnded(right, true);
  EXPECT_EQ(recorder.calls.front(), "clicked t 1");
}

TEST_F(AlertStackTest, ActionSheetPutsTheDestructiveButtonFirstAndRisesFromTheBottom) {
  auto sheet = std::make_shared<ui::ActionSheet>("Share", &recorder, "Cancel", "Delete",
                                                 Calls{"Email", "Twitter"});
  EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
  EXPECT_EQ(sheet->cancelButtonIndex(), 3);
  ui::View host(graphics::Rect{0, 0, 320, 480});
  sheet->showInView(host);
  EXPECT_EQ(sheet->frame().maxY(), 480);
  EXPECT_TRUE(sheet->pressButton(2));
  EXPECT_EQ(recorder.calls, (Calls{"sheet Share 2"}));
  EXPECT_FALSE(sheet->isVisible());
}

}  // namespace
