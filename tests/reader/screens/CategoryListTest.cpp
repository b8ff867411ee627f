
#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

using graphics::Rect;
using namespace screen_testing;

namespace {

const char* const kCannotConnect =
    "Dữ liệu không thể tải về máy. Lỗi không thể kết nối mạng, Hãy chỉnh lại Cài Đặt máy";

ui::Button* subButton(ui::TableViewCell& cell) {
  for (const auto& view : cell.contentView()->subviews()) {
    if (auto* button = dynamic_cast<ui::Button*>(view.get())) return button;
  }
  return nullptr;
}

class CategoryListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.useMeasurer(std::make_shared<graphics::FixedTextMeasurer>(0.5, 1.2));
    NewsSite::setBaseAddress(site_.url(""));
    site_.setFeed(rssFeed(3));
  }

  std::string feed(const std::string& name) { return site_.url("/Home.rss?c=" + name); }

  // "Thời sự" with two sub-categories (the second fails), "Giải trí" without any and failing,
  // "Thể thao" with one.
  void serveMenu() {
    site_.setMenu("<services><service name=\"Thời sự\" link=\"" + feed("ts") +
                  "\"><subService name=\"Chính trị\" link=\"" + feed("ct") +
                  "\"/><subService name=\"Xã hội\" link=\"" + site_.url("/missing.rss") +
                  "\"/></service><service name=\"Giải trí\" link=\"" + site_.url("/missing.rss") +
                  "\"></service><service name=\"Thể thao\" link=\"" + feed("tt") +
                  "\"><subService name=\"Bóng đá\" link=\"" + feed("bd") +
                  "\"/></service></services>");
  }

  ScreenEnvironment env_;
  StorySite site_;
};

ServiceListViewController& categories(ReaderRun& run) {
  auto* list = dynamic_cast<ServiceListViewController*>(run.top());
  EXPECT_NE(list, nullptr);
  return *list;
}

}  // namespace

TEST_F(CategoryListTest, HeaderRowsAndSubCategoryButtons) {
  serveMenu();
  base::LogCapture log;
  ReaderRun run;
  run.openMenu();
  ASSERT_EQ(run.navigation().viewControllers().size(), 2u);
  ServiceListViewController& list = categories(run);
  EXPECT_TRUE(log.contains("service list view controller"));
  EXPECT_TRUE(log.contains("view will appear servicelistview"));
  EXPECT_EQ(list.view()->backgroundColor(), graphics::Color::rgb(227, 218, 207));

  EXPECT_TRUE(buttonShowing(list, "fav_saved.png")->showsTouchWhenHighlighted());
  ui::TableView* table = list.tableView();
  ASSERT_EQ(storyView(list), table);
  EXPECT_EQ(table->separatorStyle(), ui::TableViewCellSeparatorStyle::None);
  // Header, the table and its rows: a sub-category button on the rows that have any.
  EXPECT_TRUE(looksLike(*list.view(), "categories-portrait"));
  for (int r = 0; r < 3; ++r) {
    ui::TableViewCell* cell = table->cellForRowAtIndexPath({0, r});
    EXPECT_EQ(cell->reuseIdentifier(), r == 1 ? "cell" : "cellWithButton") << r;
    auto* selected = dynamic_cast<ui::ImageView*>(cell->selectedBackgroundView());
    EXPECT_EQ(imageName(selected ? selected->image() : nullptr), "cell_focus.png") << r;
  }
  EXPECT_TRUE(log.contains("Thời sự count = 2"));
  EXPECT_TRUE(log.contains("Thể thao count = 1"));
  EXPECT_TRUE(log.contains("tag = 2"));
}

TEST_F(CategoryListTest, ReusedCellsKeepTheirKindAndTakeTheNewRowsTag) {
  // Forty categories, every third one with sub-categories: scrolling recycles cells.
  std::string menu = "<services>";
  for (int i = 0; i < 40; ++i) {
    menu += "<service name=\"C" + std::to_string(i) + "\" link=\"" + feed("c") + "\">";
    if (i % 3 == 0) menu += "<subService name=\"S\" link=\"" + feed("s") + "\"/>";
    menu += "</service>";
  }
  site_.setMenu(menu + "</services>");
  ReaderRun run;
  run.openMenu();
  ServiceListViewController& list = categories(run);
  ui::TableView* table = list.tableView();
  for (double y : {700.0, 1400.0, 2100.0, 350.0}) {
    table->setContentOffset({0, y});
    table->layoutIfNeeded();
    for (ui::IndexPath path : table->indexPathsForVisibleRows()) {
      SCOPED_TRACE(path.row);
      ui::TableViewCell* cell = table->cellForRowAtIndexPath(path);
      bool withSubs = path.row % 3 == 0;
      EXPECT_EQ(cell->reuseIdentifier(), withSubs ? "cellWithButton" : "cell");
      EXPECT_EQ(cell->textLabel()->text(), "C" + std::to_string(path.row));
      ui::Button* button = subButton(*cell);
      ASSERT_EQ(button != nullptr, withSubs);
      if (button) {
        EXPECT_EQ(button->tag(), path.row);
      }
    }
  }
  // A recycled button opens the sub-categories of the row it now shows.
  ui::TableViewCell* cell = table->cellForRowAtIndexPath(table->indexPathsForVisibleRows()[1]);
  int row = table->indexPathsForVisibleRows()[1].row;
  if (!subButton(*cell)) {
    row = table->indexPathsForVisibleRows()[0].row;
    cell = table->cellForRowAtIndexPath(table->indexPathsForVisibleRows()[0]);
  }
  ASSERT_NE(subButton(*cell), nullptr);
  subButton(*cell)->sendActionsForTouchUpInside();
  run.settle();
  auto* subs = dynamic_cast<SubServiceListViewController*>(run.top());
  ASSERT_NE(subs, nullptr);
  EXPECT_EQ(subs->subServices(), list.services()[static_cast<size_t>(row)]->subService);
}

TEST_F(CategoryListTest, RowOpensItsOwnStoriesAfterTheDeferral) {
  serveMenu();
  ReaderRun run;
  run.openMenu();
  ServiceListViewController& list = categories(run);
  ui::Application::shared().setNetworkActivityIndicatorVisible(false);

  // The row of a category with sub-categories opens the category's own stories.
  ASSERT_TRUE(list.tableView()->tapRowAtIndexPath({0, 0}));
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  EXPECT_EQ(list.serviceName(), "Thời sự");
  base::RunLoop::main().runFor(0.19);
  EXPECT_EQ(site_.hits("/Home.rss?c=ts"), 0);
  run.settle();
  EXPECT_EQ(site_.hits("/Home.rss?c=ts"), 1);
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  auto* stories = dynamic_cast<ServiceDetailViewController*>(run.top());
  ASSERT_NE(stories, nullptr);
  EXPECT_EQ(stories->header(), "Thời sự");
  EXPECT_EQ(stories->stories().size(), 3u);
  EXPECT_FALSE(stories->landscape());
}

TEST_F(CategoryListTest, FailedFeedShowsTheAlertAndTheNextTapWorks) {
  serveMenu();
  ReaderRun run;
  run.openMenu();
  ServiceListViewController& list = categories(run);

  list.tableView()->tapRowAtIndexPath({0, 1});
  run.settle();
  EXPECT_EQ(alertMessage(), kCannotConnect);
  EXPECT_EQ(run.navigation().viewControllers().size(), 2u);
  EXPECT_EQ(list.serviceName(), "Giải trí");
  EXPECT_FALSE(ui::Application::shared().isIgnoringInteractionEvents());
  ui::AlertStack::shared().topAs<ui::AlertView>()->dismissWithClickedButtonIndex(0, false);
  run.settle();

  list.tableView()->tapRowAtIndexPath({0, 2});
  run.settle();
  auto* stories = dynamic_cast<ServiceDetailViewController*>(run.top());
  ASSERT_NE(stories, nullptr);
  EXPECT_EQ(stories->header(), "Thể thao");
  EXPECT_TRUE(ui::AlertStack::shared().empty());
}

TEST_F(CategoryListTest, TwoTapsWithinTheDeferralEachKeepTheirName) {
  serveMenu();
  ReaderRun run;
  run.openMenu();
  ServiceListViewController& list = categories(run);
  list.tableView()->tapRowAtIndexPath({0, 0});
  list.tableView()->tapRowAtIndexPath({0, 2});
  run.settle(2);
  // One download after the other, each opening its list in the order of the taps (a download
  // run inside the other's would push the second list first).
  const auto& stack = run.navigation().viewControllers();
  ASSERT_EQ(stack.size(), 4u);
  std::vector<std::string> headers;
  for (size_t i : {2u, 3u}) {
    auto& stories = dynamic_cast<ServiceDetailViewController&>(*stack[i]);
    headers.push_back(stories.header());
    // Each shows its own category's feed under its own name.
    EXPECT_EQ(stories.stories().size(), 3u);
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"Thời sự", "Thể thao"}));
  EXPECT_EQ(site_.hits("/Home.rss?c=ts"), 1);
  EXPECT_EQ(site_.hits("/Home.rss?c=tt"), 1);
}

TEST_F(CategoryListTest, SubCategoryListComesFromTheRecordWithoutDownloading) {
  serveMenu();
  ReaderRun run;
  run.openMenu();
  ServiceListViewController& list = categories(run);
  EXPECT_EQ(site_.hits("/mobi/app_menu.php"), 1);
  ui::Application::shared().setNetworkActivityIndicatorVisible(false);

  subButton(*list.tableView()->cellForRowAtIndexPath({0, 0}))->sendActionsForTouchUpInside();
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  run.settle();
  auto* subs = dynamic_cast<SubServiceListViewController*>(run.top());
  ASSERT_NE(subs, nullptr);
  EXPECT_EQ(site_.hits("/mobi/app_menu.php"), 1);
  EXPECT_EQ(site_.hits("/Home.rss?c=ts"), 0);
  ASSERT_EQ(subs->tableView()->numberOfRowsInSection(0), 2);
  for (int r = 0; r < 2; ++r) {
    ui::TableViewCell* cell = subs->tableView()->cellForRowAtIndexPath({0, r});
    EXPECT_EQ(cell->reuseIdentifier(), "cell");
    EXPECT_EQ(subButton(*cell), nullptr);
  }
  EXPECT_EQ(subs->tableView()->cellForRowAtIndexPath({0, 1})->textLabel()->text(), "Xã hội");

  // A failing sub-category, then a good one.
  subs->tableView()->tapRowAtIndexPath({0, 1});
  run.settle();
  EXPECT_EQ(alertMessage(), kCannotConnect);
  ui::AlertStack::shared().reset();
  subs->tableView()->tapRowAtIndexPath({0, 0});
  run.settle();
  EXPECT_EQ(site_.hits("/Home.rss?c=ct"), 1);
  auto* stories = dynamic_cast<ServiceDetailViewController*>(run.top());
  ASSERT_NE(stories, nullptr);
  EXPECT_EQ(stories->header(), "Chính trị");
}

TEST_F(CategoryListTest, LandscapeOnFirstAppearanceAndAfterRotations) {
  serveMenu();
  ReaderRun run;
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  run.settle();
  run.openMenu();
  ServiceListViewController& list = categories(run);
  EXPECT_TRUE(list.landscape());
  // Shown in landscape the table keeps to the height below the header.
  EXPECT_TRUE(looksLike(*list.view(), "categories-landscape", 1));
  EXPECT_EQ(subButton(*list.tableView()->cellForRowAtIndexPath({0, 0}))->frame(),
            Rect(410, 0, 69, 69));

  base::LogCapture log;
  ui::Application::shared().rotate(ui::InterfaceOrientation::Portrait);
  run.settle();
  EXPECT_TRUE(log.contains("rotation servicelistview"));
  EXPECT_FALSE(list.landscape());
  EXPECT_TRUE(looksLike(*list.view(), "categories-rotated-portrait", 1));
  EXPECT_EQ(subButton(*list.tableView()->cellForRowAtIndexPath({0, 0}))->frame(),
            Rect(250, 0, 69, 69));
  // The home screen below heard it.
  EXPECT_FALSE(static_cast<ReaderScreen&>(*run.navigation().viewControllers()[0]).landscape());

  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeRight);
  run.settle();
  EXPECT_EQ(list.tableView()->frame(), Rect(0, 44, 480, 256));
  EXPECT_EQ(countTagged(list, 999), 1);
  EXPECT_TRUE(static_cast<ReaderScreen&>(*run.navigation().viewControllers()[0]).landscape());

  // The sub-category list opened now is in landscape too.
  subButton(*list.tableView()->cellForRowAtIndexPath({0, 2}))->sendActionsForTouchUpInside();
  run.settle();
  auto* subs = dynamic_cast<SubServiceListViewController*>(run.top());
  ASSERT_NE(subs, nullptr);
  EXPECT_TRUE(subs->landscape());
  EXPECT_EQ(subs->tableView()->frame(), Rect(0, 44, 480, 256));
}

TEST_F(CategoryListTest, LandscapeReachesEveryLiveScreenAndOtherObjectsAreIgnored) {
  serveMenu();
  ReaderRun run;
  run.openMenu();
  subButton(*categories(run).tableView()->cellForRowAtIndexPath({0, 0}))
      ->sendActionsForTouchUpInside();
  run.settle();
  dynamic_cast<SubServiceListViewController&>(*run.top()).tableView()->tapRowAtIndexPath({0, 0});
  run.settle();
  const auto stack = run.navigation().viewControllers();
  ASSERT_EQ(stack.size(), 4u);

  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  run.settle();
  for (const auto& screen : stack) EXPECT_TRUE(static_cast<ReaderScreen&>(*screen).landscape());

  auto& center = base::NotificationCenter::defaultCenter();
  center.post("landscape", std::string("MAYBE"));
  center.post("landscape");
  for (const auto& screen : stack) EXPECT_TRUE(static_cast<ReaderScreen&>(*screen).landscape());
  center.post("landscape", std::string("NO"));
  for (const auto& screen : stack) EXPECT_FALSE(static_cast<ReaderScreen&>(*screen).landscape());

  // Back on the sub-category list it lays itself out for the flag it was told.
  run.navigation().popViewController(true);
  run.settle();
  auto& subs = dynamic_cast<SubServiceListViewController&>(*run.top());
  EXPECT_EQ(subs.tableView()->frame(), Rect(0, 44, 320, 416));
}

TEST_F(CategoryListTest, BackPopsAndDestroysTheList) {
  serveMenu();
  ReaderRun run;
  run.openMenu();
  base::LogCapture log;
  std::weak_ptr<ui::ViewController> list = run.navigation().viewControllers()[1];
  buttonShowing(*run.top(), "exit.png")->sendActionsForTouchUpInside();
  run.settle();
  EXPECT_EQ(run.navigation().viewControllers().size(), 1u);
  EXPECT_TRUE(list.expired());
  EXPECT_EQ(log.count("SERVICE LIST VIEW DEALLOC"), 1u);
}
