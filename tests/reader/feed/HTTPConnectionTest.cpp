#include "reader/feed/HTTPConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/base/Log.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "reader/model/Utilities.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/LoopbackServer.h"

using testing_support::LoopbackServer;

namespace {

// A news site on loopback serving fixed documents.
class Site {
 public:
  Site() { server_.start(); }
  void serve(const std::string& path, std::string body, int status = 200,
             std::string type = "text/xml; charset=utf-8") {
    server_.server().Get(path, [=](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, type);
    });
  }
  httplib::Server& server() { return server_.server(); }
  std::string url(const std::string& path) const { return server_.url(path); }

 private:
  LoopbackServer server_;
};

std::vector<FeedRecord> load(const std::string& address, HTTPConnection& connection) {
  connection.startParsingWithURL(address);
  return connection.getDataInArray();
}

std::vector<FeedRecord> load(const std::string& address) {
  HTTPConnection connection;
  return load(address, connection);
}

std::vector<ItemPtr> items(const std::vector<FeedRecord>& records) {
  std::vector<ItemPtr> out;
  for (const auto& record : records) {
    if (auto item = std::get_if<ItemPtr>(&record)) out.push_back(*item);
  }
  return out;
}

std::vector<ItemPtr> parseItems(const std::string& document) {
  HTTPConnection connection;
  connection.parseData(document);
  return items(connection.getDataInArray());
}

std::string rss(const std::string& body, const std::string& encoding = "UTF-8") {
  return "<?xml version=\"1.0\" encoding=\"" + encoding +
         "\"?>\n<rss version=\"2.0\" xmlns:media=\"http://search.yahoo.com/mrss/\">\n<channel>\n"
         "<title>Vemo - Trang chủ</title>\n<link>http://vemo.vn</link>\n"
         "<description>Tin tức</description>\n" +
         body + "</channel>\n</rss>\n";
}

const char* const kMenu = R"(<?xml version="1.0" encoding="UTF-8"?>
<menu>
  <service name="Thời sự" link="http://vemo.vn/thoi-su.rss">
    <subService name="Chính trị" link="http://vemo.vn/chinh-tri.rss"/>
    <subService name="Xã hội" link="http://vemo.vn/xa-hoi.rss"/>
    <subService name="Pháp luật" link="http://vemo.vn/phap-luat.rss"/>
  </service>
  <service name="Thể thao" link="http://vemo.vn/the-thao.rss"></service>
</menu>
)";

const char* const kStories = R"(<item>
<title>Bão số 1
đổ bộ</title>
<link>
    http://vemo.vn/bao-so-1.html
	</link>
<description>&lt;img src="http://vemo.vn/img/bao.jpg" /&gt;Mưa lớn</description>
<pubDate>Mon, 05 Dec 2011 14:30:00 EST</pubDate>
<guid>
    http://vemo.vn/bao-so-1.html
</guid>
<media:thumbnail url="http://vemo.vn/thumb/bao.jpg"/>
</item>
<item>
<title>Giá vàng</title>
<link>http://vemo.vn/gia-vang.html</link>
<description>Xem http://vemo.vn/gia-vang.html
để biết thêm</description>
<pubDate>Mon, 05 Dec 2011 09:15:00 EST</pubDate>
<guid>gia-vang</guid>
</item>
)";

}  // namespace

TEST(HTTPConnection, ReadsTheMenuIntoCategoriesWithTheirSubCategories) {
  Site site;
  site.serve("/mobi/app_menu.php", kMenu);
  base::LogCapture log;
  std::vector<FeedRecord> records = load(site.url("/mobi/app_menu.php"));

  ASSERT_EQ(records.size(), 2u);
  const ServicePtr& news = std::get<ServicePtr>(records[0]);
  const ServicePtr& sport = std::get<ServicePtr>(records[1]);
  EXPECT_EQ(news->name, "Thời sự");
  EXPECT_EQ(news->link, "http://vemo.vn/thoi-su.rss");
  ASSERT_EQ(news->subService.size(), 3u);
  EXPECT_EQ(news->subService[1]->name, "Xã hội");
  EXPECT_EQ(news->subService[2]->link, "http://vemo.vn/phap-luat.rss");
  EXPECT_EQ(sport->name, "Thể thao");
  EXPECT_TRUE(sport->subService.empty());
  EXPECT_TRUE(log.contains("--- Chính trị"));
  EXPECT_EQ(log.count("start element"), 6u);
}

// A story's fields as one line: title | link | guid | avatar | summary | date | thumbnail, with
// "-" for a field the story does not have.
std::string fields(const Item& item) {
  std::string line;
  for (const auto* field : {&item.title, &item.link, &item.guid, &item.avatar, &item.description,
                            &item.pubDate, &item.imgLink})
    line += " | " + field->value_or("-");
  return line.substr(3);
}

TEST(HTTPConnection, ReadsStoriesAsTheReaderShowsThem) {
  const std::string storm = Utilities::convertTimeWithTime("Mon, 05 Dec 2011 14:30:00 EST");
  struct Case {
    const char* name;
    std::string items;
    std::vector<std::string> stories;
  };
  const Case cases[] = {
      // Without a picture tag the first address-like word is the avatar and the summary stays
      // as written, the line break after its closing tag included; the thumbnail of the story
      // before does not carry over.
      {"two stories",
       kStories,
       {"Bão số 1đổ bộ | http://vemo.vn/bao-so-1.html | http://vemo.vn/bao-so-1.html | "
        "http://vemo.vn/img/bao.jpg | Mưa lớn | " +
            storm + " | http://vemo.vn/thumb/bao.jpg",
        "Giá vàng | http://vemo.vn/gia-vang.html | gia-vang | http://vemo.vn/gia-vang.html\nđể | "
        "Xem http://vemo.vn/gia-vang.html\nđể biết thêm\n | Mon, 05 Dec 2011 09:15:00 PM | "}},
      {"a long text after the picture tag",
       "<item><description>&lt;img src=\"http://vemo.vn/a.jpg\" alt=\"x\" /&gt;Một đoạn "
       "tóm tắt khá dài của bài báo</description></item>",
       {" |  |  | http://vemo.vn/a.jpg | Một đoạn tóm tắt khá dài của bài báo |  | "}},
      // Without "/>", inside a link and followed by a line break, as many sites write it; a tag
      // cut short gives no avatar.
      {"tags as sites write them",
       "<item><description>&lt;a href=\"http://vemo.vn/b.html\"&gt;&lt;img "
       "src=\"http://vemo.vn/b.jpg\"&gt;&lt;/a&gt;&lt;/br&gt;Tin\nmới</description></item>"
       "<item><description>Tin &lt;img src=\"http://vemo.vn/c.jpg</description></item>",
       {" |  |  | http://vemo.vn/b.jpg | Tinmới |  | ", " |  |  | - | Tin  |  | "}},
      {"missing parts are empty text",
       "<item><title>Không ngày</title><media:thumbnail width=\"10\"/></item>"
       "<item><pubDate>hôm nay</pubDate></item>",
       {"Không ngày |  |  | - |  |  | ", " |  |  | - |  | hôm nay | "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> stories;
    for (const ItemPtr& item : parseItems(rss(c.items))) stories.push_back(fields(*item));
    EXPECT_EQ(stories, c.stories);
  }
  // A picture written as markup inside the summary is an element, not summary text.
  base::LogCapture log;
  parseItems(
      rss("<item><description>Ảnh <img src=\"http://vemo.vn/d.jpg\"/>đẹp</description></item>"));
  EXPECT_TRUE(log.contains("IMG = http://vemo.vn/d.jpg"));
  // Sub-categories outside any category have nowhere to go.
  HTTPConnection connection;
  connection.parseData("<menu><subService name=\"x\" link=\"y\"/></menu>");
  EXPECT_TRUE(connection.getDataInArray().empty());
}

TEST(HTTPConnection, WritesItsDiagnosticLines) {
  Site site;
  std::string document = rss(kStories);
  site.serve("/Home.rss", document);
  base::LogCapture log;
  {
    HTTPConnection connection;
    load(site.url("/Home.rss"), connection);
    EXPECT_FALSE(log.contains("PARSER DEALLOC"));
  }
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "REQUEST = " + site.url("/Home.rss"));
  EXPECT_EQ(lines[1], "PACKET SIZE = " + std::to_string(document.size()) + " bytes");
  EXPECT_EQ(lines.back(), "PARSER DEALLOC");
  EXPECT_TRUE(log.contains("Img = http://vemo.vn/img/bao.jpg"));
  auto title = std::find(lines.begin(), lines.end(), "TITLE = Giá vàng");
  ASSERT_NE(title, lines.end());
  std::vector<std::string> story(title, title + 7);
  EXPECT_EQ(story, (std::vector<std::string>{
                       "TITLE = Giá vàng", "LINK = http://vemo.vn/gia-vang.html",
                       "DESCRIPTION = Xem http://vemo.vn/gia-vang.html\nđể biết thêm\n",
                       "PUBDATE = Mon, 05 Dec 2011 09:15:00 PM", "GUID = gia-vang",
                       "img link = ", "---------------------"}));
}

// What the loader reports (its own tests cover the kinds of failure) becomes an empty result
// with the error kept; the connection's own time limit is the one used.
TEST(HTTPConnection, FailedDownloadsGiveAnEmptyResultAndHideTheIndicator) {
  Site site;
  site.serve("/empty.rss", "");
  site.serve("/missing.rss", "<html>Not found</html>", 404, "text/html");
  std::mutex mutex;
  std::condition_variable released;
  bool release = false;
  site.server().Get("/slow.rss", [&](const httplib::Request&, httplib::Response& res) {
    std::unique_lock lock(mutex);
    released.wait_for(lock, std::chrono::seconds(3), [&] { return release; });
    res.set_content(rss(kStories), "text/xml");
  });
  struct Case {
    std::string address;
    std::string domain;
    long code;
  };
  const Case cases[] = {
      {site.url("/empty.rss"), "http", 200},
      {site.url("/missing.rss"), "http", 404},
      {site.url("/slow.rss"), "net", net::Error::TimedOut},
      {"http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/Home.rss", "net",
       net::Error::CannotConnectToHost},
  };
  auto& indicator = net::NetworkActivityIndicator::shared();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    HTTPConnection connection(0.5);
    connection.startParsingWithURL(c.address);
    EXPECT_TRUE(indicator.visible());
    EXPECT_TRUE(connection.getDataInArray().empty());
    EXPECT_FALSE(indicator.visible());
    EXPECT_EQ(connection.downloadError().domain(), c.domain);
    EXPECT_EQ(connection.downloadError().code(), c.code);
    EXPECT_FALSE(connection.downloadError().description().empty());
  }
  {
    std::lock_guard lock(mutex);
    release = true;
  }
  released.notify_all();
}

TEST(HTTPConnection, EscapesAddressesBeforeLoading) {
  Site site;
  std::string seenPath;
  site.server().Get(R"(/.*)", [&](const httplib::Request& req, httplib::Response& res) {
    seenPath = req.path;
    res.set_content(rss(kStories), "text/xml");
  });
  EXPECT_EQ(items(load(site.url("/thời sự.rss"))).size(), 2u);
  EXPECT_EQ(seenPath, "/thời sự.rss");
}

TEST(HTTPConnection, KeepsTheStoriesBeforeABrokenPart) {
  HTTPConnection connection;
  connection.parseData(rss(std::string(kStories) + "<item><title>Hỏng</item>"));
  std::vector<ItemPtr> stories = items(connection.getDataInArray());
  ASSERT_EQ(stories.size(), 2u);
  EXPECT_EQ(stories[1]->title, "Giá vàng");
  ASSERT_TRUE(connection.parseError());
  EXPECT_EQ(connection.parseError()->line, 28u);
}
