#include "app/demo/DemoSite.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>

#include "tests/app/demo/SiteDocument.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

constexpr const char* kFeedType = "application/rss+xml; charset=utf-8";

bool isPng(const std::string& b) {
  return b.starts_with("\x89PNG\r\n\x1a\n");
}
bool isJpeg(const std::string& b) {
  return b.starts_with("\xff\xd8\xff");
}

// The address of the picture tag a summary begins with, or "".
std::string summaryPicture(const std::string& description) {
  static const std::regex tag(R"re(^<img src="([^"]+)" />)re");
  std::smatch m;
  return std::regex_search(description, m, tag) ? m[1].str() : std::string();
}

class DemoSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    site_ = std::make_unique<DemoSite>();
    ASSERT_TRUE(site_->start());
  }
  static void TearDownTestSuite() { site_.reset(); }

  // GET of an address on the site, which must begin with its base address.
  httplib::Result get(const std::string& url) {
    EXPECT_TRUE(url.starts_with(site_->baseUrl() + "/")) << url;
    return client_.Get(url.substr(site_->baseUrl().size()));
  }

  SiteDocument document(const std::string& url, const char* contentType) {
    SiteDocument doc;
    auto res = get(url);
    if (!res || res->status != 200) {
      ADD_FAILURE() << url << " not served";
      return doc;
    }
    EXPECT_EQ(res->get_header_value("Content-Type"), contentType) << url;
    EXPECT_TRUE(doc.parse(res->body)) << url << ": " << doc.error();
    return doc;
  }

  // Home.rss and every feed the menu names.
  std::vector<std::string> feeds() {
    std::vector<std::string> urls{site_->baseUrl() + "/Home.rss"};
    SiteDocument menu =
        document(site_->baseUrl() + "/mobi/app_menu.php", "text/xml; charset=utf-8");
    for (const char* name : {"service", "subService"})
      for (const auto* e : menu.named(name)) urls.push_back(e->attributes.at("link"));
    return urls;
  }

  static inline std::unique_ptr<DemoSite> site_;
  httplib::Client client_{site_->baseUrl()};
};

TEST_F(DemoSiteTest, MenuNamesFeedsThatExistAndAreWellFormed) {
  auto urls = feeds();
  ASSERT_GT(urls.size(), 1u);
  for (const auto& url : urls) {
    SiteDocument feed = document(url, kFeedType);
    auto items = feed.named("item");
    EXPECT_FALSE(items.empty()) << url;
    for (const auto* item : items) {
      for (const char* field : {"title", "link", "description", "pubDate", "guid"}) {
        const auto* e = feed.child(*item, field);
        EXPECT_TRUE(e && !e->text.empty()) << url << " lacks " << field;
      }
    }
  }
}

TEST_F(DemoSiteTest, EveryStoryLeadsToItsPageAndPictures) {
  std::set<std::string> pages, pictures;
  for (const auto& url : feeds()) {
    SiteDocument feed = document(url, kFeedType);
    for (const auto* item : feed.named("item")) {
      if (const auto* link = feed.child(*item, "link")) pages.insert(link->text);
      if (const auto* thumb = feed.child(*item, "media:thumbnail"))
        pictures.insert(thumb->attributes.at("url"));
      if (const auto* d = feed.child(*item, "description"))
        if (auto src = summaryPicture(d->text); !src.empty()) pictures.insert(src);
    }
  }
  ASSERT_FALSE(pages.empty());
  ASSERT_FALSE(pictures.empty());
  for (const auto& url : pages) {
    auto res = get(url);
    ASSERT_TRUE(res && res->status == 200) << url;
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
  }
  for (const auto& url : pictures) {
    auto res = get(url);
    ASSERT_TRUE(res && res->status == 200) << url;
    auto type = res->get_header_value("Content-Type");
    if (url.ends_with(".png")) {
      EXPECT_EQ(type, "image/png");
      EXPECT_TRUE(isPng(res->body)) << url;
    } else {
      EXPECT_EQ(type, "image/jpeg");
      EXPECT_TRUE(isJpeg(res->body)) << url;
    }
  }
}

TEST_F(DemoSiteTest, PublicationDatesHaveTheFeedFormAndTrueWeekdays) {
  using namespace std::chrono;
  static const std::regex form(
      R"(^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), (\d\d) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) (\d{4}) \d\d:\d\d:\d\d EST$)");
  const std::string days = "SunMonTueWedThuFriSat", months = "JanFebMarAprMayJunJulAugSepOctNovDec";
  for (const auto& url : feeds()) {
    SiteDocument feed = document(url, kFeedType);
    for (const auto* e : feed.named("pubDate")) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(e->text, m, form)) << url << ": " << e->text;
      year_month_day date{year{std::stoi(m[4])}, month{unsigned(months.find(m[3]) / 3 + 1)},
                          day{unsigned(std::stoi(m[2]))}};
      ASSERT_TRUE(date.ok()) << e->text;
      EXPECT_EQ(days.substr(weekday{sys_days{date}}.c_encoding() * 3, 3), m[1].str()) << e->text;
    }
  }
}

TEST_F(DemoSiteTest, TextFilesCarryTheServersAddressAndImagesStayUntouched) {
  const std::string base = site_->baseUrl();
  for (const char* path : {"/Home.rss", "/mobi/app_menu.php"}) {
    auto res = client_.Get(path);
    ASSERT_TRUE(res && res->status == 200) << path;
    EXPECT_EQ(res->body.find(DemoSite::kPlaceholder), std::string::npos) << path;
    EXPECT_NE(res->body.find(base + "/"), std::string::npos) << path;
  }
  auto tools = client_.Get("/mobi/tools.php");
  ASSERT_TRUE(tools && tools->status == 200);
  EXPECT_EQ(tools->get_header_value("Content-Type"), "text/html; charset=utf-8");

  auto image = client_.Get("/images/pictures/bien.png");
  ASSERT_TRUE(image && image->status == 200);
  EXPECT_EQ(image->body, readFile(site_->root() / "images/pictures/bien.png"));
}

TEST_F(DemoSiteTest, MissingFilesAndFoldersAreNotFound) {
  for (const char* path : {"/Nothing.rss", "/rss", "/", "/images/thumbs/none.png"}) {
    auto res = client_.Get(path);
    ASSERT_TRUE(res) << path;
    EXPECT_EQ(res->status, 404) << path;
  }
}

// A site in a temporary folder next to a file it must never hand out.
class DemoSiteRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp_ / "site/sub");
    writeFile(tmp_ / "secret.txt", "private");
    writeFile(tmp_ / "site/sub/page.html", "<a href=\"{{SITE}}/sub/page.html\">{{SITE}}</a>");
    writeFile(tmp_ / "site/menu.php", "<?xml version=\"1.0\"?><services/>");
    fs::create_symlink(tmp_ / "secret.txt", tmp_ / "site/outside.txt");
    ASSERT_TRUE(site_.start());
  }

  // Sends the path exactly as written.
  httplib::Result get(const std::string& path) {
    httplib::Client client(site_.baseUrl());
    client.set_url_encode(false);
    return client.Get(path);
  }

  TempDir tmp_;
  DemoSite site_{tmp_ / "site"};
};

TEST_F(DemoSiteRootTest, RefusesPathsThatLeaveTheRoot) {
  for (const char* path :
       {"/../secret.txt", "/sub/../../secret.txt", "/%2e%2e/secret.txt", "/..%2fsecret.txt",
        "/sub/%2E%2E/%2E%2E/secret.txt", "/..%5csecret.txt", "/outside.txt"}) {
    auto res = get(path);
    ASSERT_TRUE(res) << path;
    EXPECT_EQ(res->status, 403) << path;
    EXPECT_EQ(res->body.find("private"), std::string::npos) << path;
  }
  // A path that looks absolute is still read inside the root.
  auto res = get("/" + (tmp_ / "secret.txt").string());
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 404);
}

TEST_F(DemoSiteRootTest, ServesPagesWithEveryPlaceholderReplaced) {
  auto res = get("/sub/./page.html");
  ASSERT_TRUE(res && res->status == 200);
  EXPECT_EQ(res->body,
            "<a href=\"" + site_.baseUrl() + "/sub/page.html\">" + site_.baseUrl() + "</a>");
  auto menu = get("/menu.php");
  ASSERT_TRUE(menu && menu->status == 200);
  EXPECT_EQ(menu->get_header_value("Content-Type"), "text/xml; charset=utf-8");
}

TEST(DemoSiteLifecycle, StartsOnItsOwnPortAndStopsCleanly) {
  TempDir tmp;
  fs::create_directories(tmp / "site");
  writeFile(tmp / "site/a.txt", "a");
  DemoSite one(tmp / "site"), two(tmp / "site");
  ASSERT_TRUE(one.start());
  ASSERT_TRUE(two.start());
  EXPECT_NE(one.baseUrl(), two.baseUrl());
  EXPECT_TRUE(one.start());  // already running: same address
  std::string address = one.baseUrl();
  one.stop();
  EXPECT_EQ(one.baseUrl(), "");
  httplib::Client gone(address);
  gone.set_connection_timeout(1);
  EXPECT_FALSE(gone.Get("/a.txt"));
  ASSERT_TRUE(one.start());
  EXPECT_EQ(httplib::Client(one.baseUrl()).Get("/a.txt")->body, "a");
}

TEST(DemoSiteLifecycle, KeepsItsPortAcrossRestartsAndFallsBackWhenItIsTaken) {
  TempDir tmp;
  fs::create_directories(tmp / "site");
  writeFile(tmp / "site/a.txt", "a");
  // A port free a moment ago.
  DemoSite probe(tmp / "site", 0);
  ASSERT_TRUE(probe.start());
  const int port = std::stoi(probe.baseUrl().substr(probe.baseUrl().rfind(':') + 1));
  probe.stop();
  const std::string preferred = "http://127.0.0.1:" + std::to_string(port);
  {
    DemoSite first(tmp / "site", port), second(tmp / "site", port);
    ASSERT_TRUE(first.start());
    EXPECT_EQ(first.baseUrl(), preferred);
    EXPECT_EQ(first.preferredBaseUrl(), preferred);
    // Taken: the second copy runs on another port, and each serves the site.
    ASSERT_TRUE(second.start());
    EXPECT_NE(second.baseUrl(), preferred);
    for (DemoSite* site : {&first, &second})
      EXPECT_EQ(httplib::Client(site->baseUrl()).Get("/a.txt")->body, "a");
  }
  DemoSite restarted(tmp / "site", port);
  ASSERT_TRUE(restarted.start());
  EXPECT_EQ(restarted.baseUrl(), preferred);
}

TEST(DemoSiteLifecycle, DoesNotStartWithoutItsFolder) {
  TempDir tmp;
  DemoSite site(tmp / "missing");
  EXPECT_FALSE(site.start());
  EXPECT_EQ(site.baseUrl(), "");
}

}  // namespace
