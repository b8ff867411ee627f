#include "reader/feed/HTTPConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/net/NetworkActivityIndicator.h"
#include "tests/support/LoopbackServer.h"

namespace {

const char* const kMenu =
    "<menu><service name=\"Thời sự\" link=\"http://v.vn/ts.rss\"><subService name=\"Chính trị\" "
    "link=\"http://v.vn/ct.rss\"/><subService name=\"Xã hội\" link=\"http://v.vn/xh.rss\"/>"
    "</service><service name=\"Thể thao\" link=\"http://v.vn/tt.rss\"></service></menu>";

// Two stories as sites write them: line breaks and blanks around the values.
const char* const kStories =
    "<item>\n<title>Bão số 1\nđổ bộ</title>\n<link>\n    http://vemo.vn/bao-so-1.html\n\t</link>\n"
    "<description>&lt;img src=\"http://vemo.vn/img/bao.jpg\" /&gt;Mưa lớn</description>\n"
    "<pubDate>Mon, 05 Dec 2011 14:30:00 EST</pubDate>\n"
    "<guid>\n    http://vemo.vn/bao-so-1.html\n</guid>\n"
    "<media:thumbnail url=\"http://vemo.vn/thumb/bao.jpg\"/>\n</item>\n"
    "<item>\n<title>Giá vàng</title>\n<link>http://vemo.vn/gia-vang.html</link>\n"
    "<description>Xem http://vemo.vn/gia-vang.html\nđể biết thêm</description>\n"
    "<pubDate>Mon, 05 Dec 2011 09:15:00 EST</pubDate>\n<guid>gia-vang</guid>\n</item>\n";

// A news site on loopback: the menu under a path with blanks, a missing page, an empty one and
// one that answers only after the connection's time limit.
class Site : public testing_support::LoopbackServer {
 public:
  Site() {
    server().Get(R"(/.*)", [](const httplib::Request& req, httplib::Response& res) {
      if (req.path == "/mobi/thực đơn.php") res.set_content(kMenu, "text/xml");
      if (req.path == "/missing.rss") res.status = 404;
      if (req.path == "/slow.rss") std::this_thread::sleep_for(std::chrono::milliseconds(400));
    });
    start();
  }
};

// A story's fields as one line: title | link | guid | avatar | summary | date | thumbnail, with
// "-" for a field the story does not have.
std::string fields(const Item& item) {
  std::string line;
  for (const auto* field : {&item.title, &item.link, &item.guid, &item.avatar, &item.description,
                            &item.pubDate, &item.imgLink})
    line += " | " + field->value_or("-");
  return line.substr(3);
}

}  // namespace

// A download gives the menu (its address, with blanks, escaped before loading) as categories with
// their sub-categories; an empty page, a missing one and one slower than the connection's own time
// limit give nothing and keep the error (the loader's own tests cover the kinds of failure).
TEST(HTTPConnection, DownloadsTheMenuOrKeepsTheErrorAndHidesTheIndicator) {
  Site site;
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"/mobi/thực đơn.php",
       "Thời sự http://v.vn/ts.rss (Chính trị http://v.vn/ct.rss, Xã hội http://v.vn/xh.rss, ) "
       "Thể thao http://v.vn/tt.rss () ",
       " 0"},
      {"/empty.rss", "", "http 200"},
      {"/missing.rss", "", "http 404"},
      {"/slow.rss", "", "net " + std::to_string(net::Error::TimedOut)},
  };
  auto& indicator = net::NetworkActivityIndicator::shared();
  for (const auto& [path, menu, error] : cases) {
    SCOPED_TRACE(path);
    HTTPConnection connection(0.1);
    connection.startParsingWithURL(site.url(path));
    EXPECT_TRUE(indicator.visible());
    std::string shown;
    for (const FeedRecord& record : connection.getDataInArray()) {
      const ServicePtr& service = std::get<ServicePtr>(record);
      shown += service->name + " " + service->link + " (";
      for (const auto& sub : service->subService) shown += sub->name + " " + sub->link + ", ";
      shown += ") ";
    }
    EXPECT_FALSE(indicator.visible());
    EXPECT_EQ(shown, menu);
    const net::Error& kept = connection.downloadError();
    EXPECT_EQ(kept.domain() + " " + std::to_string(kept.code()), error);
  }
}

TEST(HTTPConnection, ReadsStoriesAsTheReaderShowsThem) {
  // Without a picture tag the first address-like word is the avatar and the summary stays as
  // written, the line break after its closing tag included; the thumbnail of the story before
  // does not carry over.
  const std::vector<std::string> two = {
      "Bão số 1đổ bộ | http://vemo.vn/bao-so-1.html | http://vemo.vn/bao-so-1.html | "
      "http://vemo.vn/img/bao.jpg | Mưa lớn | Tue, 6 Dec 2011 02:30:00 AM | "
      "http://vemo.vn/thumb/bao.jpg",
      "Giá vàng | http://vemo.vn/gia-vang.html | gia-vang | http://vemo.vn/gia-vang.html\nđể | "
      "Xem http://vemo.vn/gia-vang.html\nđể biết thêm\n | Mon, 05 Dec 2011 09:15:00 PM | "};
  struct Case {
    const char* name;
    std::string items;
    std::vector<std::string> stories;
    bool broken;
  };
  const Case cases[] = {
      {"two stories", kStories, two, false},
      {"missing parts are empty text",
       "<item><title>Không ngày</title><media:thumbnail width=\"10\"/></item>"
       "<item><pubDate>hôm nay</pubDate></item>",
       {"Không ngày |  |  | - |  |  | ", " |  |  | - |  | hôm nay | "},
       false},
      // The stories before a broken part are kept whole and the fault is reported.
      {"broken", std::string(kStories) + "<item><title>Hỏng</item>", two, true},
      // Sub-categories outside any category have nowhere to go.
      {"stray sub-category", "<subService name=\"x\" link=\"y\"/>", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HTTPConnection connection;
    connection.parseData("<rss xmlns:media=\"http://search.yahoo.com/mrss/\"><channel>" + c.items +
                         "</channel></rss>");
    std::vector<std::string> stories;
    for (const FeedRecord& record : connection.getDataInArray())
      stories.push_back(fields(*std::get<ItemPtr>(record)));
    EXPECT_EQ(stories, c.stories);
    EXPECT_EQ(connection.parseError().has_value(), c.broken);
  }
}
