#include "reader/feed/HTTPConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/net/NetworkActivityIndicator.h"
#include "reader/model/Utilities.h"
#include "tests/support/LoopbackServer.h"

using testing_support::LoopbackServer;

namespace {

std::vector<FeedRecord> load(const std::string& address) {
  HTTPConnection connection;
  connection.startParsingWithURL(address);
  return connection.getDataInArray();
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

std::string rss(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\" "
         "xmlns:media=\"http://search.yahoo.com/mrss/\">\n<channel>\n<title>Vemo</title>\n" +
         body + "</channel>\n</rss>\n";
}

const char* const kMenu =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<menu>"
    "<service name=\"Thời sự\" link=\"http://vemo.vn/thoi-su.rss\">"
    "<subService name=\"Chính trị\" link=\"http://vemo.vn/chinh-tri.rss\"/>"
    "<subService name=\"Xã hội\" link=\"http://vemo.vn/xa-hoi.rss\"/>"
    "<subService name=\"Pháp luật\" link=\"http://vemo.vn/phap-luat.rss\"/></service>"
    "<service name=\"Thể thao\" link=\"http://vemo.vn/the-thao.rss\"></service></menu>";

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

// A news site on loopback: the menu under any path naming it, two stories under any other path
// (the last path asked for is kept), an empty page, a missing one and one that answers only after
// the test ends.
class Site {
 public:
  Site() {
    server_.server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
      std::unique_lock lock(mutex_);
      lastPath_ = req.path;
      if (req.path.find("menu") != std::string::npos) {
        res.set_content(kMenu, "text/xml");
      } else if (req.path == "/missing.rss") {
        res.status = 404;
      } else if (req.path != "/empty.rss") {
        if (req.path == "/slow.rss")
          released_.wait_for(lock, std::chrono::seconds(3), [this] { return done_; });
        res.set_content(rss(kStories), "text/xml");
      }
    });
    server_.start();
  }
  ~Site() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    released_.notify_all();
  }
  std::string url(const std::string& path) const { return server_.url(path); }
  std::string lastPath() {
    std::lock_guard lock(mutex_);
    return lastPath_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool done_ = false;
  std::string lastPath_;
  LoopbackServer server_;
};

}  // namespace

// The address is escaped before loading.
TEST(HTTPConnection, ReadsTheMenuIntoCategoriesWithTheirSubCategories) {
  Site site;
  std::string menu;
  for (const FeedRecord& record : load(site.url("/mobi/thực đơn menu.php"))) {
    const ServicePtr& service = std::get<ServicePtr>(record);
    menu += service->name + " " + service->link + " (";
    for (const auto& sub : service->subService) menu += sub->name + " " + sub->link + ", ";
    menu += ") ";
  }
  EXPECT_EQ(menu,
            "Thời sự http://vemo.vn/thoi-su.rss (Chính trị http://vemo.vn/chinh-tri.rss, Xã hội "
            "http://vemo.vn/xa-hoi.rss, Pháp luật http://vemo.vn/phap-luat.rss, ) Thể thao "
            "http://vemo.vn/the-thao.rss () ");
  EXPECT_EQ(site.lastPath(), "/mobi/thực đơn menu.php");
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
  // The stories before a broken part are kept and the fault is reported.
  HTTPConnection broken;
  broken.parseData(rss(std::string(kStories) + "<item><title>Hỏng</item>"));
  EXPECT_EQ(items(broken.getDataInArray()).size(), 2u);
  EXPECT_TRUE(broken.parseError());
  // Sub-categories outside any category have nowhere to go.
  HTTPConnection connection;
  connection.parseData("<menu><subService name=\"x\" link=\"y\"/></menu>");
  EXPECT_TRUE(connection.getDataInArray().empty());
}

// What the loader reports (its own tests cover the kinds of failure) becomes an empty result
// with the error kept; an empty page is a failure too; the connection's own time limit is used.
TEST(HTTPConnection, FailedDownloadsGiveAnEmptyResultAndHideTheIndicator) {
  Site site;
  const std::tuple<const char*, const char*, long> cases[] = {
      {"/empty.rss", "http", 200},
      {"/missing.rss", "http", 404},
      {"/slow.rss", "net", net::Error::TimedOut},
  };
  auto& indicator = net::NetworkActivityIndicator::shared();
  for (const auto& [path, domain, code] : cases) {
    SCOPED_TRACE(path);
    HTTPConnection connection(0.5);
    connection.startParsingWithURL(site.url(path));
    EXPECT_TRUE(indicator.visible());
    EXPECT_TRUE(connection.getDataInArray().empty());
    EXPECT_FALSE(indicator.visible());
    EXPECT_EQ(connection.downloadError().domain(), domain);
    EXPECT_EQ(connection.downloadError().code(), code);
  }
}
