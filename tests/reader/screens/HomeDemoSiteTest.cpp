#include "app/demo/DemoSite.h"
#include "platform/net/UrlLoader.h"
#include "tests/reader/screens/ScreenTestSupport.h"

using namespace screen_testing;

namespace {

// The status and the <title> of the page the engine was asked for last, fetched from the site.
std::pair<long, std::string> served(DetailViewController& screen) {
  net::LoadResult page =
      net::UrlLoader::sendSynchronousRequest(engine(screen).startedRequests().back());
  auto open = page.body.find("<title>"), close = page.body.find("</title>");
  if (open == std::string::npos || close == std::string::npos)
    return {page.response.statusCode(), ""};
  return {page.response.statusCode(), page.body.substr(open + 7, close - open - 7)};
}

}  // namespace

// One walk through the demo site with the real text measurer: the home grid, the category menu
// down to a category's stories, a story's lead and article pages, the tools page.
TEST(DemoSiteWalk, HomeCategoriesArticleAndTools) {
  ScreenEnvironment env;
  DemoSite demo;
  ASSERT_TRUE(demo.start());
  NewsSite::setBaseAddress(demo.baseUrl());
  ReaderRun run;
  EXPECT_EQ(run.home().stories().size(), 20u);

  run.openMenu();
  auto* list = dynamic_cast<ServiceListViewController*>(run.top());
  ASSERT_NE(list, nullptr);
  ui::TableViewCell* first = list->tableView()->cellForRowAtIndexPath({0, 0});
  EXPECT_EQ(first->textLabel()->text(), "Thời sự");
  press(dynamic_cast<ui::Button*>(first->contentView()->subviews().back().get()));
  auto* subs = dynamic_cast<SubServiceListViewController*>(run.top());
  ASSERT_NE(subs, nullptr);
  EXPECT_EQ(subs->subServices().size(), 4u);
  subs->tableView()->tapRowAtIndexPath({0, 1});
  settle();
  auto* stories = dynamic_cast<ServiceDetailViewController*>(run.top());
  ASSERT_NE(stories, nullptr);
  EXPECT_EQ(stories->header(), "Xã hội");
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  ASSERT_GT(stories->stories().size(), 2u);

  auto lead = std::make_shared<SapoViewController>(stories->stories(), 2, "NO");
  run.navigation().pushViewController(lead, true);
  settle();
  lead->detailButtonPush();
  settle();
  auto* detail = dynamic_cast<DetailViewController*>(run.top());
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(engine(*detail).startedRequests().at(0).url().absoluteString(),
            *stories->stories()[2]->link);
  auto [status, title] = served(*detail);
  EXPECT_EQ(status, 200);
  EXPECT_FALSE(title.empty());

  detail->loadMoreExtraToolData();
  settle();
  auto* tools = dynamic_cast<DetailViewController*>(run.top());
  ASSERT_TRUE(tools && tools != detail);
  EXPECT_EQ(engine(*tools).startedRequests().at(0).url().absoluteString(),
            demo.baseUrl() + "/mobi/tools.php");
  EXPECT_EQ(served(*tools).first, 200);
}
