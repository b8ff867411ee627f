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
  void TearDown() override {
    window.reset();
    nav.reset();
    UiTest::TearDown();
  }
  void push(const std::string& name, bool animated = true) {
    nav->pushViewController(std::make_shared<Screen>(name, log), animated);
  }
  Log log;
  std::unique_ptr<ui::Window> window = std::make_unique<ui::Window>();
  std::shared_ptr<ui::NavigationController> nav;
  base::RunLoop& loop = base::RunLoop::main();
};

}  // namespace

TEST_F(ControllerTest, PushAndPopCallAppearanceInOrderAndReleaseThePoppedScreen) {
  EXPECT_EQ(log, (Log{"home didLoad", "home willAppear", "home didAppear"}));
  log.clear();
  push("lead");
  EXPECT_EQ(log, (Log{"lead didLoad", "home willDisappear", "lead willAppear"}));
  loop.runFor(0.35);
  EXPECT_EQ(log.back(), "lead didAppear");

  // The back button pops its own screen from inside its action; the screen's observer goes.
  log.clear();
  EXPECT_TRUE(ui::tap(*window, {20, 40}));
  loop.runFor(0.4);
  EXPECT_EQ(log, (Log{"lead willDisappear", "home willAppear", "lead didDisappear",
                      "home didAppear", "lead dealloc"}));
  base::NotificationCenter::defaultCenter().post("landscape");
  EXPECT_EQ(log.back(), "home landscape");
  EXPECT_FALSE(nav->popViewController(true));  // the root stays
}

// Popping to the root or replacing the stack releases the screens that left; pushing during a
// slide finishes that slide first.
TEST_F(ControllerTest, PopToRootAndReplacingReleaseWhatLeftAndPushingFinishesASlide) {
  auto home = nav->viewControllers().front();
  push("a");
  log.clear();
  push("b");
  EXPECT_EQ(log, (Log{"home didDisappear", "a didAppear", "b didLoad", "a willDisappear",
                      "b willAppear"}));
  loop.runFor(0.4);
  EXPECT_EQ(nav->topViewController()->view()->frame(), (Rect{0, 0, 320, 460}));
  EXPECT_EQ(nav->view()->subviews().size(), 2u);  // the top view and the hidden toolbar

  push("c", false);
  log.clear();
  nav->popToRootViewController(false);
  loop.runUntilIdle();
  // Only the top screen is seen leaving; all three are released.
  EXPECT_EQ(log, (Log{"c willDisappear", "home willAppear", "c didDisappear", "home didAppear",
                      "a dealloc", "b dealloc", "c dealloc"}));

  push("d", false);
  log.clear();
  nav->setViewControllers({home, std::make_shared<Screen>("e", log)});
  loop.runUntilIdle();
  EXPECT_EQ(log, (Log{"e didLoad", "d willDisappear", "e willAppear", "d didDisappear",
                      "e didAppear", "d dealloc"}));
  EXPECT_EQ(nav->view()->subviews().front(), nav->topViewController()->view());
}

TEST_F(ControllerTest, ModalPresentationCoversTheScreenUntilDismissed) {
  auto modal = std::make_shared<Screen>("sheet", log);
  log.clear();
  nav->topViewController()->presentModalViewController(modal, true);
  EXPECT_EQ(log, (Log{"sheet didLoad", "home willDisappear", "sheet willAppear"}));
  loop.runFor(0.3);
  EXPECT_EQ(modal->view()->frame(), (Rect{0, 20, 320, 460}));
  EXPECT_EQ(window->subviews().back(), modal->view());

  // A second presentation while one is up is refused.
  nav->presentModalViewController(std::make_shared<Screen>("other", log), false);
  EXPECT_EQ(nav->modalViewController(), modal.get());

  log.clear();
  modal->dismissModalViewController(true);  // asks its presenter
  modal.reset();
  loop.runFor(0.35);
  EXPECT_EQ(log, (Log{"sheet willDisappear", "home willAppear", "sheet didDisappear",
                      "home didAppear", "sheet dealloc"}));
  EXPECT_EQ(window->subviews().size(), 1u);
}

TEST_F(ControllerTest, RotationReachesTheTopScreenAndPostsTheDeviceNotification) {
  push("lead", false);
  auto token = base::NotificationCenter::defaultCenter().addObserver(
      ui::Application::kDeviceOrientationDidChangeNotification,
      [&](const base::Notification&) { log.push_back("notification"); });
  auto& app = ui::Application::shared();
  log.clear();
  app.rotate(InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(log, (Log{"lead willRotate landscape", "lead willAnimate 480", "notification"}));
  EXPECT_EQ(nav->view()->frame(), (Rect{0, 20, 480, 300}));
  loop.runFor(0.3);
  EXPECT_EQ(log.back(), "lead didRotate");

  // Turning to the same orientation only reports the device.
  log.clear();
  app.rotate(InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(log, (Log{"notification"}));
}

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, LifeCycleReachesTheDelegateInOrder) {
  struct Delegate : ui::ApplicationDelegate {
    Log log;
    bool didFinishLaunchingWithOptions(ui::Application&, const LaunchOptions&) override {
      log.push_back("launch");
      return true;
    }
    void applicationDidBecomeActive(ui::Application&) override { log.push_back("active"); }
    void applicationWillResignActive(ui::Application&) override { log.push_back("resign"); }
    void applicationDidEnterBackground(ui::Application&) override { log.push_back("bg"); }
    void applicationWillEnterForeground(ui::Application&) override { log.push_back("fg"); }
    void applicationWillTerminate(ui::Application&) override { log.push_back("end"); }
  } delegate;
  auto& app = ui::Application::shared();
  app.setDelegate(&delegate);
  EXPECT_TRUE(app.launch());
  app.becomeActive();  // already active: nothing
  app.enterBackground();
  app.enterForeground();
  app.terminate();
  EXPECT_EQ(delegate.log,
            (Log{"launch", "active", "resign", "bg", "fg", "active", "resign", "end"}));
}

// A screen covered by a modal one while the interface turned hears of the turn when it shows
// again, so it lays itself out for the new orientation.
TEST_F(ControllerTest, TurnMadeUnderAModalReachesTheScreenWhenItReturns) {
  push("lead", false);
  auto modal = std::make_shared<Screen>("sheet", log);
  nav->presentModalViewController(modal, false);
  auto& app = ui::Application::shared();
  app.rotate(InterfaceOrientation::LandscapeLeft);
  loop.runFor(0.3);
  log.clear();
  nav->dismissModalViewController(false);
  EXPECT_EQ(log,
            (Log{"sheet willDisappear", "lead willRotate landscape", "lead willAnimate 480",
                 "lead didRotate", "lead willAppear", "sheet didDisappear", "lead didAppear"}));
  app.rotate(InterfaceOrientation::Portrait);
}
