#include <gtest/gtest.h>

#include "platform/graphics/FixedTextMeasurer.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;
using ui::BarButtonItem;
using ui::BarButtonSystemItem;

namespace {

// A window showing one screen in a navigation controller whose bar is shown; text is measured
// with fixed metrics (bold 12: 6 points a character; bold 20: 10 points, lines 24 high).
class NavigationBarTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    previous = graphics::TextMeasurer::setCurrent(std::make_shared<graphics::FixedTextMeasurer>());
    nav = std::make_shared<ui::NavigationController>(screen);
    window->setRootViewController(nav);
  }
  void TearDown() override {
    graphics::TextMeasurer::setCurrent(previous);
    UiTest::TearDown();
  }
  ui::NavigationBar& bar() { return nav->navigationBar(); }
  ui::NavigationItem& item() { return screen->navigationItem(); }
  // Taps the middle of `view` through the window's view tree.
  bool tapOn(const ui::View* view) {
    return ui::tap(*window, view->convertPointToView(view->bounds().center(), nullptr));
  }

  std::shared_ptr<const graphics::TextMeasurer> previous;
  std::shared_ptr<ui::ViewController> screen = std::make_shared<ui::ViewController>();
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window = std::make_unique<ui::Window>();
  std::vector<std::string> log;
};

TEST_F(NavigationBarTest, ItemsAndTitleArePlacedAndTheTitleCutToFit) {
  auto send = [] {
    return BarButtonItem::withTitle("Send to Twitter", ui::BarButtonItemStyle::Done, {});
  };
  auto spinner = BarButtonItem::withCustomView(std::make_shared<ui::ActivityIndicatorView>());
  auto edit = BarButtonItem::system(BarButtonSystemItem::Edit, {});
  const std::tuple<const char*, std::shared_ptr<BarButtonItem>, Rect, Rect> rows[] = {
      {"Share", edit, {267, 7, 48, 30}, {135, 10, 50, 24}},
      {"Twitter", send(), {205, 7, 110, 30}, {125, 10, 70, 24}},
      {"Tiêu đề rất dài của bài", send(), {205, 7, 110, 30}, {66, 10, 134, 24}},
      {"X", spinner, {295, 12, 20, 20}, {155, 10, 10, 24}}};
  item().setLeftBarButtonItem(BarButtonItem::system(BarButtonSystemItem::Cancel, {}));
  for (const auto& [title, right, rightFrame, titleFrame] : rows) {
    SCOPED_TRACE(title);
    screen->setTitle(title);
    item().setRightBarButtonItem(right);
    EXPECT_EQ(bar().leftView()->frame(), (Rect{5, 7, 56, 30}));
    EXPECT_EQ(bar().rightView()->frame(), rightFrame);
    EXPECT_EQ(bar().titleLabel().frame(), titleFrame);
  }
  EXPECT_EQ(screen->view()->frame(), (Rect{0, 44, 320, 416}));
}

TEST_F(NavigationBarTest, TapsReachEnabledItemsThroughTheViewTree) {
  // Edit turns into Done and back while its own action runs, as a list screen's editing does.
  std::function<void()> edit, save;
  edit = [&] {
    log.push_back("edit");
    item().setRightBarButtonItem(BarButtonItem::system(BarButtonSystemItem::Done, save), true);
  };
  save = [&] {
    log.push_back("save");
    item().setRightBarButtonItem(BarButtonItem::system(BarButtonSystemItem::Edit, edit), true);
  };
  item().setLeftBarButtonItem(
      BarButtonItem::system(BarButtonSystemItem::Cancel, [&] { log.push_back("cancel"); }));
  item().setRightBarButtonItem(BarButtonItem::system(BarButtonSystemItem::Edit, edit));

  EXPECT_TRUE(tapOn(bar().rightView()));
  EXPECT_TRUE(tapOn(bar().rightView()));
  EXPECT_TRUE(tapOn(bar().leftView()));

  // A spinner in the bar takes no taps, and they do not fall through to the screen.
  auto spinner = std::make_shared<ui::ActivityIndicatorView>();
  spinner->startAnimating();
  item().setRightBarButtonItem(BarButtonItem::withCustomView(spinner));
  EXPECT_EQ(window->hitTest(spinner->convertPointToView({10, 10}, nullptr)), &bar());
  EXPECT_EQ(log, (std::vector<std::string>{"edit", "save", "cancel"}));
}

}  // namespace
