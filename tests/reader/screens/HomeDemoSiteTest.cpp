
#include "app/demo/DemoSite.h"
#include "platform/net/UrlLoader.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

using namespace screen_testing;

namespace {
ui::HeadlessWebEngine& engine(DetailViewController& screen) {
  return dynamic_cast<ui::HeadlessWebEngine&>(screen.webView()->engine());
}
}  // namespace

// One walk through the demo site with the real text measurer: the home grid, the category menu
// down to a category's stories, a story's lead and article pages, saving it, the tools page.
TEST(DemoSiteWalk, HomeCategoriesArticleAndTools) {
  ScreenEnvironment env;
  DemoSite demo;
  ASSERT_TRUE(demo.start());
  NewsSite::setBaseAddress(demo.baseUrl());
  ReaderRun run;
  auto& home = dynamic_cast<MainViewController&>(*run.navigation().viewControllers().front());
  ASSERT_EQ(home.stories().size(), 20u);
  auto* grid = static_cast<ui::ScrollView*>(storyView(home));
  // 20 stories: three full groups of six and a big plus a medium tile.
  EXPECT_EQ(grid->contentSize(), graphics::Size(320, 3 * 453 + 151 + 151));
  auto* firstTitle = static_cast<ui::Label*>(grid->subviews()[0]->subviews()[0].get());
  EXPECT_EQ(firstTitle->text(), "Quốc hội thông qua kế hoạch phát triển kinh tế xã hội năm 2012");
  EXPECT_GT(firstTitle->frame().height(), 20);
  EXPECT_LE(firstTitle->frame().height(), 80);

  run.openMenu();
  auto* list = dynamic_cast<ServiceListViewController*>(run.top());
  ASSERT_NE(list, nullptr);
  ASSERT_GE(list->services().size(), 4u);
  ui::TableViewCell* first = list->tableView()->cellForRowAtIndexPath({0, 0});
  EXPECT_EQ(first->textLabel()->text(), "Thời sự");
  EXPECT_EQ(first->reuseIdentifier(), "cellWithButton");
  dynamic_cast<ui::Button&>(*first->contentView()->subviews().back()).sendActionsForTouchUpInside();
  run.settle();
  auto* subs = dynamic_cast<SubServiceListViewController*>(run.top());
  ASSERT_NE(subs, nullptr);
  ASSERT_EQ(subs->subServices().size(), 4u);
  subs->tableView()->tapRowAtIndexPath({0, 1});
  run.settle();
  auto* stories = dynamic_cast<ServiceDetailViewController*>(run.top());
  ASSERT_NE(stories, nullptr);
  EXPECT_EQ(stories->header(), "Xã hội");
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  // A short Vietnamese name fits: no scrolling, centred.
  ui::ScrollView* header = stories->headerScrollView();
  EXPECT_LE(header->frame().width(), 160);
  EXPECT_GT(header->frame().width(), 30);
  EXPECT_EQ(header->frame().x(), 120 + static_cast<int>(160 - header->frame().width()) / 2);
  ASSERT_GT(stories->stories().size(), 2u);

  auto lead = std::make_shared<SapoViewController>(stories->stories(), 2, "NO");
  run.navigation().pushViewController(lead, true);
  run.settle();
  lead->detailButtonPush();
  run.settle();
  auto* detail = dynamic_cast<DetailViewController*>(run.top());
  ASSERT_NE(detail, nullptr);
  const std::string link = *stories->stories()[2]->link;
  ASSERT_EQ(engine(*detail).startedRequests().size(), 1u);
  const net::UrlRequest& asked = engine(*detail).startedRequests()[0];
  EXPECT_EQ(asked.url().absoluteString(), link);
  EXPECT_EQ(asked.url().host(), "127.0.0.1");
  // The demo site serves the page the engine was asked for.
  net::LoadResult page = net::UrlLoader::sendSynchronousRequest(asked);
  ASSERT_TRUE(page.error.ok());
  EXPECT_EQ(page.response.statusCode(), 200);
  auto open = page.body.find("<title>"), close = page.body.find("</title>");
  ASSERT_NE(open, std::string::npos);
  const std::string title = page.body.substr(open + 7, close - open - 7);
  engine(*detail).finishLoad(title);
  EXPECT_EQ(detail->titleLabel()->text(), title);
  detail->bookmarkButtonPush();
  auto stored = Utilities().getBookmarkItem();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0]->link, link);
  EXPECT_EQ(stored[0]->title, title);

  detail->loadMoreExtraToolData();
  run.settle();
  auto* tools = dynamic_cast<DetailViewController*>(run.top());
  ASSERT_NE(tools, nullptr);
  ASSERT_NE(tools, detail);
  ASSERT_EQ(engine(*tools).startedRequests().size(), 1u);
  EXPECT_EQ(engine(*tools).startedRequests()[0].url().absoluteString(),
            demo.baseUrl() + "/mobi/tools.php");
  net::LoadResult toolsPage =
      net::UrlLoader::sendSynchronousRequest(engine(*tools).startedRequests()[0]);
  EXPECT_EQ(toolsPage.response.statusCode(), 200);
}
