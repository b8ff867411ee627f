#include <gtest/gtest.h>

#include "app/demo/DemoSite.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "reader/model/Utilities.h"
#include "reader/screens/MainViewController.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/StoryCell.h"
#include "reader/screens/VemoAppDelegate.h"
#include "tests/reader/screens/ScreenTestSupport.h"

using namespace screen_testing;

// The home screen against the demo site, with the real text measurer.
TEST(HomeScreenDemoSite, ShowsTheHomeFeedAsGridAndListWithPictures) {
  ScreenEnvironment env;
  DemoSite site;
  ASSERT_TRUE(site.start());
  NewsSite::setBaseAddress(site.baseUrl());
  VemoAppDelegate delegate;
  ui::Application::shared().setDelegate(&delegate);
  ui::Application::shared().launch();
  base::RunLoop::main().runFor(1);
  auto& home =
      *static_cast<MainViewController*>(delegate.viewController()->viewControllers()[0].get());

  ASSERT_EQ(home.stories().size(), 20u);
  auto* grid = static_cast<ui::ScrollView*>(storyView(home));
  ASSERT_EQ(grid->subviews().size(), 20u);
  // 20 stories: three full groups of six and a big plus a medium tile.
  EXPECT_EQ(grid->contentSize(), graphics::Size(320, 3 * 453 + 151 + 151));
  auto* firstTitle = static_cast<ui::Label*>(grid->subviews()[0]->subviews()[0].get());
  EXPECT_EQ(firstTitle->text(), "Quốc hội thông qua kế hoạch phát triển kinh tế xã hội năm 2012");
  EXPECT_GT(firstTitle->frame().height(), 20);
  EXPECT_LE(firstTitle->frame().height(), 80);

  home.styleButton()->sendActionsForTouchUpInside();
  ui::TableView* table = home.tableView();
  ASSERT_NE(table, nullptr);
  ASSERT_FALSE(table->visibleCells().empty());
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] {
    ui::TableViewCell* cell = table->cellForRowAtIndexPath({0, 0});
    return cell && cell->viewWithTag(StoryCell::kTitleTag)->frame().x() == 90;
  }));
  ui::TableViewCell* cell = table->cellForRowAtIndexPath({0, 0});
  auto* thumb = static_cast<ui::ImageView*>(cell->viewWithTag(StoryCell::kThumbnailTag));
  EXPECT_NE(imageName(thumb->image()), "icon_default.png");
  auto* title = cell->viewWithTag(StoryCell::kTitleTag);
  EXPECT_EQ(title->frame().width(), 215);
  EXPECT_GT(title->frame().height(), 20);
  EXPECT_EQ(cell->viewWithTag(StoryCell::kSummaryTag)->frame().y(), title->frame().height() + 5);
  EXPECT_EQ(Utilities().getStyleView(), "list");
  ui::Application::shared().reset();
}
