#include "app/demo/DemoSite.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <set>

#include "reader/feed/HTTPConnection.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

// The menu, every feed it names and Home.rss, with complete stories, and their pages and pictures.
TEST(DemoSiteTest, EveryFeedStoryPageAndPictureIsServed) {
  DemoSite site;
  ASSERT_TRUE(site.start());
  httplib::Client client{site.baseUrl()};
  // GET of an address on the site, which must begin with its base address: every link of the
  // site's text files carries the server's own address.
  auto get = [&](const std::string& url, const std::string& type) {
    EXPECT_TRUE(url.starts_with(site.baseUrl() + "/")) << url;
    auto res = client.Get(url.substr(site.baseUrl().size()));
    EXPECT_TRUE(res && res->status == 200) << url << " not served";
    EXPECT_EQ(res ? res->get_header_value("Content-Type") : type, type) << url;
    return res;
  };
  // The records of a menu or feed on the site, which must be well-formed and carry no
  // placeholder.
  auto records = [&](const std::string& url, const char* type) {
    HTTPConnection reader;
    auto res = get(url, type);
    const std::string body = res ? res->body : "";
    EXPECT_EQ(body.find(DemoSite::kPlaceholder), std::string::npos) << url;
    reader.parseData(body);
    EXPECT_EQ(reader.parseError() ? reader.parseError()->describe() : "", "") << url;
    return reader.getDataInArray();
  };
  std::vector<std::string> feeds{site.baseUrl() + "/Home.rss"};
  for (const auto& record :
       records(site.baseUrl() + "/mobi/app_menu.php", "text/xml; charset=utf-8")) {
    const auto& service = std::get<ServicePtr>(record);
    feeds.push_back(service->link);
    for (const auto& sub : service->subService) feeds.push_back(sub->link);
  }
  ASSERT_GT(feeds.size(), 1u);
  std::set<std::string> pages, pictures;
  for (const auto& url : feeds) {
    auto items = records(url, "application/rss+xml; charset=utf-8");
    EXPECT_FALSE(items.empty()) << url;
    for (const auto& record : items) {
      const Item& item = *std::get<ItemPtr>(record);
      for (const auto& field : {item.title, item.link, item.description, item.pubDate, item.guid})
        EXPECT_FALSE(field.value_or("").empty()) << url << " lacks a field";
      pages.insert(*item.link);
      for (const auto& picture : {item.avatar, item.imgLink})
        if (!picture.value_or("").empty()) pictures.insert(*picture);
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
  get(site.baseUrl() + "/mobi/tools.php", "text/html; charset=utf-8");
  EXPECT_EQ(get(site.baseUrl() + "/images/pictures/bien.png", "image/png")->body,
            readFile(site.root() / "images/pictures/bien.png"));
  for (const char* path : {"/Nothing.rss", "/rss", "/", "/images/thumbs/none.png"}) {
    auto res = client.Get(path);
    EXPECT_TRUE(res && res->status == 404) << path;
  }
}

// A site in a temporary folder next to a file it must never hand out.
TEST(DemoSiteRootTest, ServesOnlyInsideItsRoot) {
  TempDir tmp;
  fs::create_directories(tmp / "site/sub");
  writeFile(tmp / "secret.txt", "private");
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
}

// Each copy gets a port of its own, keeps its preferred port across restarts and falls back to
// another when it is taken, and is gone once stopped.
TEST(DemoSiteLifecycle, PortsRestartsAndStops) {
  TempDir tmp;
  EXPECT_FALSE(DemoSite(tmp / "missing").start());
  fs::create_directories(tmp / "site");
  writeFile(tmp / "site/a.txt", "a");
  DemoSite probe(tmp / "site", 0);  // a port free a moment ago
  ASSERT_TRUE(probe.start());
  const std::string address = probe.baseUrl();
  const int port = std::stoi(address.substr(address.rfind(':') + 1));
  EXPECT_TRUE(probe.start());  // already running: same address
  EXPECT_EQ(probe.baseUrl(), address);
  probe.stop();
  httplib::Client gone(address);
  gone.set_connection_timeout(1);
  EXPECT_FALSE(gone.Get("/a.txt"));
  {
    DemoSite first(tmp / "site", port), second(tmp / "site", port);
    ASSERT_TRUE(first.start());
    EXPECT_EQ(first.baseUrl(), address);
    ASSERT_TRUE(second.start());
    EXPECT_NE(second.baseUrl(), address);
    EXPECT_EQ(second.preferredBaseUrl(), address);
    for (DemoSite* site : {&first, &second})
      EXPECT_EQ(httplib::Client(site->baseUrl()).Get("/a.txt")->body, "a");
  }
  // A stop right after the start ends the server even before its thread began serving.
  for (int i = 0; i < 20; ++i) {
    DemoSite quick(tmp / "site", port);
    ASSERT_TRUE(quick.start());
    quick.stop();
  }
  DemoSite restarted(tmp / "site", port);
  ASSERT_TRUE(restarted.start());
  EXPECT_EQ(httplib::Client(address).Get("/a.txt")->body, "a");
}

}  // namespace
