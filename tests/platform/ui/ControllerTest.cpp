#include <gtest/gtest.h>

#include "platform/base/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;
using ui::InterfaceOrientation;

namespace {

using Log = std::vector<std::string>;

// A screen that logs every call it hears and its end, observes "landscape" the way the reader's
// screens do, and has a back button at its top left.
struct Screen : ui::ViewController {
  Screen(std::string name, Log& log) : name(std::move(name)), log(log) {}
  ~Screen() override { note("dealloc"); }
  void viewDidLoad() override {
    note("didLoad");
    token = base::NotificationCenter::defaultCenter().addObserver(
        "landscape", [this](const base::Notification&) { note("landscape"); });
    auto back = std::make_shared<ui::Button>(Rect{0, 0, 40, 40});
    back->addTarget([this] { navigationController()->popViewController(true); });
    view()->addSubview(back);
  }
  void viewWillAppear(bool) override { note("willAppear"); }
  void viewDidAppear(bool) override { note("didAppear"); }
  void viewWillDisappear(bool) override { note("willDisappear"); }
  void viewDidDisappear(bool) override { note("didDisappear"); }
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation) override { return true; }
  void willRotateToInterfaceOrientation(InterfaceOrientation o, double) override {
    note(ui::isLandscape(o) ? "willRotate landscape" : "willRotate portrait");
  }
  void willAnimateRotationToInterfaceOrientation(InterfaceOrientation, double) override {
    note("willAnimate " + std::to_string(int(view()->frame().width())));
  }
  void didRotateFromInterfaceOrientation(InterfaceOrientation) override { note("didRotate"); }
  void note(const std::string& what) { log.push_back(name + " " + what); }
  std::string name;
  Log& log;
  base::ObserverToken token;
};

class ControllerTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    nav = std::make_shared<ui::NavigationController>(std::make_shared<Screen>("home", log));
    nav->setNavigationBarHidden(true);
    window->makeKeyAndVisible();
    window->addSubview(nav->view());
  }
  void push(const std::string& name, bool animated = true) {
    nav->pushViewController(std::make_shared<Screen>(name, log), animated);
  }
  // What was logged since the last call, joined by ", ".
  std::string take() {
    std::string all;
    for (const auto& line : log) all += (all.empty() ? "" : ", ") + line;
    log.clear();
    return all;
  }
  Log log;
  std::unique_ptr<ui::Window> window = std::make_unique<ui::Window>();
  std::shared_ptr<ui::NavigationController> nav;
};

}  // namespace

TEST_F(ControllerTest, PushAndPopCallAppearanceInOrderAndReleaseThePoppedScreen) {
  EXPECT_EQ(take(), "home didLoad, home willAppear, home didAppear");
  push("lead");
  EXPECT_EQ(take(), "lead didLoad, home willDisappear, lead willAppear");
  loop.runFor(0.35);
  EXPECT_EQ(take(), "home didDisappear, lead didAppear");
  // The back button pops its own screen from inside its action; the screen's observer goes.
  EXPECT_TRUE(ui::tap(*window, {20, 40}));
  loop.runFor(0.4);
  EXPECT_EQ(take(),
            "lead willDisappear, home willAppear, lead didDisappear, home didAppear, lead dealloc");
  base::NotificationCenter::defaultCenter().post("landscape");
  EXPECT_EQ(take(), "home landscape");
  EXPECT_FALSE(nav->popViewController(true));  // the root stays
}

// Popping to the root or replacing the stack releases the screens that left; pushing during a
// slide finishes that slide first.
TEST_F(ControllerTest, PopToRootAndReplacingReleaseWhatLeftAndPushingFinishesASlide) {
  auto home = nav->viewControllers().front();
  push("a");
  take();
  push("b");
  EXPECT_EQ(take(), "home didDisappear, a didAppear, b didLoad, a willDisappear, b willAppear");
  loop.runFor(0.4);
  EXPECT_EQ(nav->topViewController()->view()->frame(), (Rect{0, 0, 320, 460}));
  EXPECT_EQ(nav->view()->subviews().size(), 2u);  // the top view and the hidden toolbar
  push("c", false);
  take();
  nav->popToRootViewController(false);
  loop.runUntilIdle();
  // Only the top screen is seen leaving; all three are released.
  EXPECT_EQ(take(),
            "c willDisappear, home willAppear, c didDisappear, home didAppear, a dealloc, b "
            "dealloc, c dealloc");
  push("d", false);
  take();
  nav->setViewControllers({home, std::make_shared<Screen>("e", log)});
  loop.runUntilIdle();
  EXPECT_EQ(take(),
            "e didLoad, d willDisappear, e willAppear, d didDisappear, e didAppear, d dealloc");
  EXPECT_EQ(nav->view()->subviews().front(), nav->topViewController()->view());
}

// A modal screen covers the screen until dismissed (a second one meanwhile is refused); a turn
// made under it reaches the covered screen when it shows again.
TEST_F(ControllerTest, ModalPresentationCoversTheScreenAndPassesOnTurnsMadeUnderIt) {
  auto modal = std::make_shared<Screen>("sheet", log);
  take();
  nav->topViewController()->presentModalViewController(modal, true);
  EXPECT_EQ(take(), "sheet didLoad, home willDisappear, sheet willAppear");
  loop.runFor(0.3);
  EXPECT_EQ(modal->view()->frame(), (Rect{0, 20, 320, 460}));
  EXPECT_EQ(window->subviews().back(), modal->view());
  nav->presentModalViewController(std::make_shared<Screen>("other", log), false);
  EXPECT_EQ(nav->modalViewController(), modal.get());
  ui::Application::shared().rotate(InterfaceOrientation::LandscapeLeft);
  loop.runFor(0.3);
  take();
  modal->dismissModalViewController(true);  // asks its presenter
  modal.reset();
  loop.runFor(0.35);
  EXPECT_EQ(take(),
            "sheet willDisappear, home willRotate landscape, home willAnimate 480, home didRotate, "
            "home willAppear, sheet didDisappear, home didAppear, sheet dealloc");
  EXPECT_EQ(window->subviews().size(), 1u);
}

TEST_F(ControllerTest, RotationReachesTheTopScreenAndPostsTheDeviceNotification) {
  push("lead", false);
  auto token = base::NotificationCenter::defaultCenter().addObserver(
      ui::Application::kDeviceOrientationDidChangeNotification,
      [&](const base::Notification&) { log.push_back("notification"); });
  take();
  ui::Application::shared().rotate(InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(take(), "lead willRotate landscape, lead willAnimate 480, notification");
  EXPECT_EQ(nav->view()->frame(), (Rect{0, 20, 480, 300}));
  loop.runFor(0.3);
  EXPECT_EQ(take(), "lead didRotate");
}
