#include "tests/reader/screens/ListScreenTestSupport.h"

#include "platform/base/RunLoop.h"
#include "platform/graphics/FixedTextMeasurer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/ScreenFactory.h"

namespace screen_testing {

ReaderRun::ReaderRun() {
  ui::Application::shared().setDelegate(&delegate_);
  ui::Application::shared().launch();
  settle();
}

ReaderRun::~ReaderRun() {
  ui::Application::shared().reset();
  ScreenFactory::shared() = ScreenFactory{};
}

void ReaderRun::openMenu() {
  buttonShowing(*navigation().viewControllers().front(), "menu_home.png")
      ->sendActionsForTouchUpInside();
  settle();
}

void ReaderRun::settle(double seconds) {
  base::RunLoop::main().runFor(seconds);
}

void ReaderTest::SetUp() {
  env_.useMeasurer(std::make_shared<graphics::FixedTextMeasurer>(0.5, 1.2));
  NewsSite::setBaseAddress(site_.url(""));
  site_.setFeed(rssFeed(2));
  run_ = std::make_unique<ReaderRun>();
}

}  // namespace screen_testing
