#include "app/demo/DemoSite.h"

#include <expat.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

// An XML document read with expat, namespace processing off as the reader reads it: the
// elements in document order, each with its attributes, its own text and its parent's index.
struct SiteDocument {
  struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    size_t parent;
  };
  std::vector<Element> elements;
  std::vector<size_t> open;

  // The error text, empty when the document is well-formed.
  std::string parse(const std::string& xml) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, this);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
          auto* doc = static_cast<SiteDocument*>(data);
          Element& e = doc->elements.emplace_back(Element{name, {}, {}, doc->open.back()});
          for (int i = 0; attributes[i]; i += 2) e.attributes[attributes[i]] = attributes[i + 1];
          doc->open.push_back(doc->elements.size() - 1);
        },
        [](void* data, const XML_Char*) { static_cast<SiteDocument*>(data)->open.pop_back(); });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* s, int length) {
      auto* doc = static_cast<SiteDocument*>(data);
      if (doc->open.back() != SIZE_MAX) doc->elements[doc->open.back()].text.append(s, length);
    });
    elements.clear();
    open = {SIZE_MAX};
    std::string error;
    if (XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) != XML_STATUS_OK)
      error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
              std::to_string(XML_GetCurrentLineNumber(parser));
    XML_ParserFree(parser);
    return error;
  }
  std::vector<const Element*> named(const std::string& name) const {
    std::vector<const Element*> found;
    for (const Element& e : elements)
      if (e.name == name) found.push_back(&e);
    return found;
  }
  // The first child of `parent` with that name, or null.
  const Element* child(const Element& parent, const std::string& name) const {
    for (const Element& e : elements)
      if (e.parent == size_t(&parent - elements.data()) && e.name == name) return &e;
    return nullptr;
  }
};

class DemoSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    site_ = std::make_unique<DemoSite>();
    ASSERT_TRUE(site_->start());
  }
  static void TearDownTestSuite() { site_.reset(); }

  // GET of an address on the site, which must begin with its base address: every link of the
  // site's text files carries the server's own address.
  httplib::Result get(const std::string& url, const std::string& type) {
    EXPECT_TRUE(url.starts_with(site_->baseUrl() + "/")) << url;
    auto res = client_.Get(url.substr(site_->baseUrl().size()));
    EXPECT_TRUE(res && res->status == 200) << url << " not served";
    EXPECT_EQ(res ? res->get_header_value("Content-Type") : type, type) << url;
    return res;
  }
  SiteDocument document(const std::string& url, const char* type) {
    SiteDocument doc;
    if (auto res = get(url, type)) {
      EXPECT_EQ(res->body.find(DemoSite::kPlaceholder), std::string::npos) << url;
      EXPECT_EQ(doc.parse(res->body), "") << url;
    }
    return doc;
  }

  static inline std::unique_ptr<DemoSite> site_;
  httplib::Client client_{site_->baseUrl()};
};

// One walk over the whole site: the menu, every feed it names and Home.rss, well-formed with
// complete stories and true publication dates, and every story's page and pictures.
TEST_F(DemoSiteTest, EveryFeedStoryPageAndPictureIsServed) {
  using namespace std::chrono;
  static const std::regex dateForm(
      R"(^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), (\d\d) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) (\d{4}) \d\d:\d\d:\d\d EST$)");
  static const std::regex summaryPicture(R"re(^<img src="([^"]+)" />)re");
  const std::string days = "SunMonTueWedThuFriSat", months = "JanFebMarAprMayJunJulAugSepOctNovDec";

  std::vector<std::string> feeds{site_->baseUrl() + "/Home.rss"};
  SiteDocument menu = document(site_->baseUrl() + "/mobi/app_menu.php", "text/xml; charset=utf-8");
  for (const char* name : {"service", "subService"})
    for (const auto* e : menu.named(name)) feeds.push_back(e->attributes.at("link"));
  ASSERT_GT(feeds.size(), 1u);
  std::set<std::string> pages, pictures;
  for (const auto& url : feeds) {
    SiteDocument feed = document(url, "application/rss+xml; charset=utf-8");
    auto items = feed.named("item");
    EXPECT_FALSE(items.empty()) << url;
    for (const auto* item : items) {
      for (const char* field : {"title", "link", "description", "pubDate", "guid"}) {
        const auto* e = feed.child(*item, field);
        EXPECT_TRUE(e && !e->text.empty()) << url << " lacks " << field;
      }
      if (const auto* link = feed.child(*item, "link")) pages.insert(link->text);
      if (const auto* thumb = feed.child(*item, "media:thumbnail"))
        pictures.insert(thumb->attributes.at("url"));
      std::smatch m;
      if (const auto* d = feed.child(*item, "description");
          d && std::regex_search(d->text, m, summaryPicture))
        pictures.insert(m[1].str());
      const auto* date = feed.child(*item, "pubDate");
      if (!date) continue;
      ASSERT_TRUE(std::regex_match(date->text, m, dateForm)) << url << ": " << date->text;
      year_month_day ymd{year{std::stoi(m[4])}, month{unsigned(months.find(m[3]) / 3 + 1)},
                         day{unsigned(std::stoi(m[2]))}};
      ASSERT_TRUE(ymd.ok()) << date->text;
      EXPECT_EQ(days.substr(weekday{sys_days{ymd}}.c_encoding() * 3, 3), m[1].str()) << date->text;
    }
  }
  ASSERT_FALSE(pages.empty());
  ASSERT_FALSE(pictures.empty());
  for (const auto& url : pages) get(url, "text/html; charset=utf-8");
  for (const auto& url : pictures) {
    const bool png = url.ends_with(".png");
    auto res = get(url, png ? "image/png" : "image/jpeg");
    EXPECT_TRUE(!res || res->body.starts_with(png ? "\x89PNG\r\n\x1a\n" : "\xff\xd8\xff")) << url;
  }
  get(site_->baseUrl() + "/mobi/tools.php", "text/html; charset=utf-8");
  auto image = client_.Get("/images/pictures/bien.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->body, readFile(site_->root() / "images/pictures/bien.png"));
  for (const char* path : {"/Nothing.rss", "/rss", "/", "/images/thumbs/none.png"}) {
    auto res = client_.Get(path);
    EXPECT_TRUE(res && res->status == 404) << path;
  }
}

// A site in a temporary folder next to a file it must never hand out.
TEST(DemoSiteRootTest, ServesOnlyInsideItsRootWithEveryPlaceholderReplaced) {
  TempDir tmp;
  fs::create_directories(tmp / "site/sub");
  writeFile(tmp / "secret.txt", "private");
  writeFile(tmp / "site/sub/page.html", "<a href=\"{{SITE}}/sub/page.html\">{{SITE}}</a>");
  writeFile(tmp / "site/menu.php", "<?xml version=\"1.0\"?><services/>");
  fs::create_symlink(tmp / "secret.txt", tmp / "site/outside.txt");
  DemoSite site(tmp / "site");
  ASSERT_TRUE(site.start());
  httplib::Client client(site.baseUrl());
  client.set_url_encode(false);  // sends each path exactly as written
  const std::string absolute = "/" + (tmp / "secret.txt").string();  // still read inside the root
  const std::pair<std::string, int> paths[] = {
      {"/../secret.txt", 403},     {"/sub/../../secret.txt", 403},
      {"/%2e%2e/secret.txt", 403}, {"/..%2fsecret.txt", 403},
      {"/..%5csecret.txt", 403},   {"/sub/%2E%2E/%2E%2E/secret.txt", 403},
      {"/outside.txt", 403},       {absolute, 404},
  };
  for (const auto& [path, status] : paths) {
    auto res = client.Get(path);
    ASSERT_TRUE(res) << path;
    EXPECT_EQ(res->status, status) << path;
    EXPECT_EQ(res->body.find("private"), std::string::npos) << path;
  }
  auto page = client.Get("/sub/./page.html");
  ASSERT_TRUE(page && page->status == 200);
  EXPECT_EQ(page->body,
            "<a href=\"" + site.baseUrl() + "/sub/page.html\">" + site.baseUrl() + "</a>");
  auto menu = client.Get("/menu.php");
  ASSERT_TRUE(menu && menu->status == 200);
  EXPECT_EQ(menu->get_header_value("Content-Type"), "text/xml; charset=utf-8");
}

// Each copy gets a port of its own, keeps its preferred port across restarts and falls back to
// another when it is taken, and is gone once stopped.
TEST(DemoSiteLifecycle, PortsRestartsAndStops) {
  TempDir tmp;
  DemoSite missing(tmp / "missing");
  EXPECT_FALSE(missing.start());
  EXPECT_EQ(missing.baseUrl(), "");
  fs::create_directories(tmp / "site");
  writeFile(tmp / "site/a.txt", "a");
  DemoSite probe(tmp / "site", 0);  // a port free a moment ago
  ASSERT_TRUE(probe.start());
  const std::string address = probe.baseUrl();
  const int port = std::stoi(address.substr(address.rfind(':') + 1));
  EXPECT_TRUE(probe.start());  // already running: same address
  EXPECT_EQ(probe.baseUrl(), address);
  probe.stop();
  EXPECT_EQ(probe.baseUrl(), "");
  httplib::Client gone(address);
  gone.set_connection_timeout(1);
  EXPECT_FALSE(gone.Get("/a.txt"));
  {
    DemoSite first(tmp / "site", port), second(tmp / "site", port);
    ASSERT_TRUE(first.start());
    EXPECT_EQ(first.baseUrl(), address);
    EXPECT_EQ(first.preferredBaseUrl(), address);
    ASSERT_TRUE(second.start());
    EXPECT_NE(second.baseUrl(), address);
    for (DemoSite* site : {&first, &second})
      EXPECT_EQ(httplib::Client(site->baseUrl()).Get("/a.txt")->body, "a");
  }
  DemoSite restarted(tmp / "site", port);
  ASSERT_TRUE(restarted.start());
  EXPECT_EQ(restarted.baseUrl(), address);
  EXPECT_EQ(httplib::Client(address).Get("/a.txt")->body, "a");
}

}  // namespace
