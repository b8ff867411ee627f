#include "platform/ui/Animator.h"
#include "tests/reader/screens/ScreenTestSupport.h"

using graphics::Rect;
using namespace screen_testing;
using testing_support::stories;

namespace {

ui::Button* subButton(ui::TableView& table, int row) {
  for (const auto& view : table.cellForRowAtIndexPath({0, row})->contentView()->subviews()) {
    if (auto* button = dynamic_cast<ui::Button*>(view.get())) return button;
  }
  return nullptr;
}

class CategoryListTest : public ReaderTest {
 protected:
  std::string feed(const std::string& name) { return site_.url("/Home.rss?c=" + name); }
  // "Thời sự" with two sub-categories, "Giải trí" without any and failing, "Thể thao" with one;
  // the menu opened on them.
  ServiceListViewController& openCategories() {
    site_.setMenu("<services><service name=\"Thời sự\" link=\"" + feed("ts") +
                  "\"><subService name=\"Chính trị\" link=\"" + feed("ct") +
                  "\"/><subService name=\"Xã hội\" link=\"" + feed("xh") +
                  "\"/></service><service name=\"Giải trí\" link=\"" + site_.url("/missing.rss") +
                  "\"></service><service name=\"Thể thao\" link=\"" + feed("tt") +
                  "\"><subService name=\"Bóng đá\" link=\"" + feed("bd") +
                  "\"/></service></services>");
    press(buttonShowing(*top(), "menu_home.png"));
    return topAs<ServiceListViewController>();
  }
  // The header of the category's stories the row opened ("" for none).
  std::string openRow(ui::TableView* table, int row) {
    table->tapRowAtIndexPath({0, row});
    settle();
    auto* stories = dynamic_cast<ServiceDetailViewController*>(top());
    return stories ? stories->header() : "";
  }
};

// The list (rows, thumbnails, the style switch) is the home screen's and tested there.
using ServiceDetailTest = ReaderTest;

}  // namespace

TEST_F(CategoryListTest, ReusedCellsKeepTheirKindAndTakeTheNewRowsTag) {
  // Forty categories, every third one with sub-categories: scrolling recycles cells.
  std::string menu = "<services>";
  for (int i = 0; i < 40; ++i) {
    menu += "<service name=\"C" + std::to_string(i) + "\" link=\"" + feed("c") + "\">";
    if (i % 3 == 0) menu += "<subService name=\"S" + std::to_string(i) + "\" link=\"x\"/>";
    menu += "</service>";
  }
  site_.setMenu(menu + "</services>");
  press(buttonShowing(*top(), "menu_home.png"));
  ui::TableView* table = topAs<ServiceListViewController>().tableView();
  for (double y : {1400.0, 350.0}) {
    table->setContentOffset({0, y});
    table->layoutIfNeeded();
  }
  // Each row shows its own name, and a button tagged with its row when it has sub-categories.
  EXPECT_TRUE(looksLike(*table, "categories-recycled"));
  // A recycled button opens the sub-categories of the row it now shows.
  int row = table->indexPathsForVisibleRows()[0].row;
  row += (3 - row % 3) % 3;
  press(subButton(*table, row));
  EXPECT_EQ(topAs<SubServiceListViewController>().subServices()[0]->name,
            "S" + std::to_string(row));
}

// A menu or a category feed that does not arrive says the network failed and the next tap works.
// A row (one with sub-categories too) opens the category's own stories after a short deferral;
// two taps within it each keep their name, one download after the other, each opening its list
// in the order of the taps (a download run inside the other's would push the second list first).
TEST_F(CategoryListTest, RowsOpenTheirOwnStoriesAfterTheDeferralInTheOrderTappedOrSayTheyFailed) {
  buttonShowing(*top(), "menu_home.png")->sendActionsForTouchUpInside();  // no menu yet
  EXPECT_TRUE(indicator());
  settle();
  EXPECT_EQ(alertMessage(), ReaderScreen::kCannotConnectMessage);
  EXPECT_FALSE(indicator());
  EXPECT_EQ(navigation().viewControllers().size(), 1u);

  ServiceListViewController& list = openCategories();
  EXPECT_EQ(openRow(list.tableView(), 1), "");
  EXPECT_EQ(alertMessage(), ReaderScreen::kCannotConnectMessage);
  EXPECT_FALSE(ui::Application::shared().isIgnoringInteractionEvents());
  list.tableView()->tapRowAtIndexPath({0, 0});
  EXPECT_TRUE(indicator());
  settle(0.19);
  EXPECT_EQ(site_.hits("/Home.rss?c=ts"), 0);
  list.tableView()->tapRowAtIndexPath({0, 2});
  settle(2);
  EXPECT_FALSE(indicator());
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  const auto& stack = navigation().viewControllers();
  ASSERT_EQ(stack.size(), 4u);
  EXPECT_EQ(dynamic_cast<ServiceDetailViewController&>(*stack[2]).header(), "Thời sự");
  EXPECT_EQ(dynamic_cast<ServiceDetailViewController&>(*stack[3]).header(), "Thể thao");
  EXPECT_EQ(site_.hits("/Home.rss?c=ts") + site_.hits("/Home.rss?c=tt"), 2);
}

TEST_F(CategoryListTest, LandscapeOnFirstAppearanceAndAfterRotations) {
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  ServiceListViewController& list = openCategories();
  EXPECT_TRUE(looksLike(*list.view(), "categories-landscape"));
  rotate(ui::InterfaceOrientation::Portrait);
  EXPECT_TRUE(looksLike(*list.view(), "categories-portrait"));

  rotate(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_TRUE(looksLike(*list.view(), "categories-landscape"));
  // The sub-category list opened now is in landscape too.
  press(subButton(*list.tableView(), 2));
  EXPECT_EQ(topAs<SubServiceListViewController>().tableView()->frame(), Rect(0, 44, 480, 256));
}

// The sub-categories come from the menu's record without another download.
TEST_F(CategoryListTest, SubCategoryListComesFromTheRecordAndLandscapeReachesEveryLiveScreen) {
  press(subButton(*openCategories().tableView(), 0));
  ui::TableView* subs = topAs<SubServiceListViewController>().tableView();
  EXPECT_EQ(site_.hits("/mobi/app_menu.php"), 1);
  EXPECT_EQ(subs->numberOfRowsInSection(0), 2);
  EXPECT_EQ(subButton(*subs, 0), nullptr);
  EXPECT_EQ(openRow(subs, 1), "Xã hội");
  ASSERT_EQ(navigation().viewControllers().size(), 4u);
  auto all = [this](bool flag) {
    for (const auto& screen : navigation().viewControllers())
      EXPECT_EQ(static_cast<ReaderScreen&>(*screen).landscape(), flag);
  };
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  all(true);
  rotate(ui::InterfaceOrientation::Portrait);
  all(false);
  // Back on the sub-category list it lays itself out for the flag it was told.
  pop();
  EXPECT_EQ(topAs<SubServiceListViewController>().tableView()->frame(), Rect(0, 44, 320, 416));
  // Its back button pops and destroys it.
  std::weak_ptr<ui::ViewController> subList = navigation().viewControllers()[2];
  press(buttonShowing(*top(), "exit.png"));
  EXPECT_EQ(navigation().viewControllers().size(), 2u);
  EXPECT_TRUE(subList.expired());
}

TEST_F(ServiceDetailTest, PortraitGridAndHeaderAndATileOpensItsOwnStories) {
  ProbeScreens probes;
  auto& screen = push<ServiceDetailViewController>(stories(7), "Thời sự", "NO");
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-portrait", 2));
  press(static_cast<ui::Button*>(storyView(screen)->subviews()[5].get()));
  EXPECT_EQ(probes.log(), "sapo 5/7 NO");
}

TEST_F(ServiceDetailTest, LandscapeOnFirstAppearanceAndAfterRotations) {
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  auto& screen = push<ServiceDetailViewController>(stories(5), "Thể thao", "YES");
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-landscape", 1));
  rotate(ui::InterfaceOrientation::Portrait);
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-rotated-portrait", 1));
  // Rotating scrolls the rebuilt view back to the top; the title gets the wider room.
  static_cast<ui::ScrollView*>(storyView(screen))->setContentOffset({0, 200});
  rotate(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-rotated-landscape", 1));
}

TEST_F(ServiceDetailTest, LongTitleScrollsInItsHeaderUntilTheScreenGoesAway) {
  auto& screen = push<ServiceDetailViewController>(stories(1), std::string(30, 'x'), "NO");
  std::weak_ptr<ui::ViewController> weak = navigation().viewControllers().back();
  // The title, 330 points (11 a character), fills the room between the saved-stories and style
  // buttons (a short one is centred there: see the recorded screens), out to the end and back.
  ui::ScrollView* header = screen.headerScrollView();
  EXPECT_EQ(header->frame(), Rect(120, 0, 160, 44));
  for (double x : {170.0, 0.0}) {
    EXPECT_TRUE(base::RunLoop::main().runUntilCondition(
        [&] { return header->contentOffset() == graphics::Point(x, 0); }, 3.0))
        << x;
  }
  pop();
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(ui::Animator::shared().runningCount(), 0u);
}
