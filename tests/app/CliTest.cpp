// Runs the vemo program end to end against a news site on loopback and the demo site.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>

#include "reader/model/Utilities.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Stories.h"
#include "tests/support/TempDir.h"

using nlohmann::json;

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string feed =
        "<rss><channel><title>Vemo</title><item><title>Bão số 1</title>"
        "<link>http://x/bao.html</link><description>&lt;img src=\"http://x/bao.jpg\" /&gt;Mưa"
        "</description><guid>bao</guid></item></channel></rss>";
    const std::tuple<const char*, int, std::string> routes[] = {
        {"/mobi/app_menu.php", 200,
         "<menu><service name=\"Thời sự\" link=\"http://x/ts.rss\">"
         "<subService name=\"Xã hội\" link=\"http://x/xh.rss\"/></service>"
         "<service name=\"Thể thao\" link=\"http://x/tt.rss\"/></menu>"},
        {"/Home.rss", 200, feed},
        {"/rss/the-thao.rss", 200, feed},
        {"/broken.rss", 503, feed},
        {"/other.xml", 200, "<html/>"}};
    for (const auto& [path, status, body] : routes) {
      site.server().Get(
          path, [status = status, body = body](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content(body, "text/xml");
          });
    }
    site.start();
  }

  // Runs the program with `args` (already shell-quoted), against the site unless `withSite` is
  // false.
  Outcome vemo(const std::string& args, bool withSite = true) {
    std::string command = std::string(VEMO_CLI_PATH) + " " + args +
                          (withSite ? " --site " + site.url("/") : "") + " >" +
                          (dir / "out").string() + " 2>" + (dir / "err").string();
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing_support::readFile(dir / "out"),
            testing_support::readFile(dir / "err")};
  }

  testing_support::TempDir dir;
  testing_support::LoopbackServer site;
};

}  // namespace

TEST_F(Cli, PrintsTheMenuAsJsonAndText) {
  Outcome run = vemo("menu --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out), json::parse(R"([
              {"name": "Thời sự", "link": "http://x/ts.rss",
               "subServices": [{"name": "Xã hội", "link": "http://x/xh.rss"}]},
              {"name": "Thể thao", "link": "http://x/tt.rss", "subServices": []}])"));
  EXPECT_EQ(
      vemo("menu").out,
      "Thời sự  <http://x/ts.rss>\n    Xã hội  <http://x/xh.rss>\nThể thao  <http://x/tt.rss>\n");
}

TEST_F(Cli, PrintsTheHomeFeedOrTheFeedAtALink) {
  for (const std::string& link :
       std::vector<std::string>{"", "/rss/the-thao.rss", "rss/the-thao.rss",
                                "'" + site.url("/rss/the-thao.rss") + "'"}) {
    Outcome run = vemo("feed " + link + " --json");
    ASSERT_EQ(run.status, 0) << link << run.err;
    json story = json::parse(run.out).at(0);
    EXPECT_EQ(story["title"].get<std::string>() + story["avatar"].get<std::string>() +
                  story["description"].get<std::string>() + story["pubDate"].get<std::string>(),
              "Bão số 1http://x/bao.jpgMưa")
        << link;
  }
  EXPECT_NE(vemo("feed").out.find("1. Bão số 1\n   http://x/bao.html\n"), std::string::npos);
}

TEST_F(Cli, ExplainsFailedDownloadsAndExitsNonZero) {
  const std::pair<std::string, const char*> cases[] = {
      {"feed /broken.rss", "status 503"},
      {"feed /other.xml", "holds no stories"},
      {"menu --site http://127.0.0.1:1", "could not load the menu"},
  };
  for (const auto& [args, message] : cases) {
    Outcome run = vemo(args, !args.starts_with("menu"));
    EXPECT_EQ(run.status, 1) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

// Saved stories in stored order; without a site the demo site serves the menu and feed.
TEST_F(Cli, PrintsSavedStoriesAndServesTheDemoSite) {
  EXPECT_EQ(json::parse(vemo("saved --json", false).out), json::array());
  auto first = testing_support::storyAt("http://x/2", "Sau");
  auto second = testing_support::storyAt("http://x/1", "Trước");
  second->avatar = "http://x/1.jpg";
  ASSERT_TRUE(Utilities().setBookmarkItem({first, second}));
  json stories = json::parse(vemo("saved --json", false).out);
  ASSERT_EQ(stories.size(), 2u);
  EXPECT_EQ(stories[0]["title"], "Sau");
  EXPECT_TRUE(stories[0]["avatar"].is_null());
  EXPECT_TRUE(stories[0]["guid"].is_null());
  EXPECT_EQ(stories[1]["avatar"], "http://x/1.jpg");
  for (const char* command : {"menu --json", "feed --json"})
    EXPECT_FALSE(json::parse(vemo(command, false).out).empty()) << command;
}

TEST_F(Cli, LogsOnRequestAndExplainsUsage) {
  EXPECT_NE(vemo("feed --log").err.find("REQUEST = " + site.url("/Home.rss")), std::string::npos);
  EXPECT_EQ(vemo("feed").err, "");

  // Every way of asking prints the same single text, naming the window's commands and the text
  // commands alike.
  Outcome help = vemo("--help", false);
  EXPECT_EQ(help.status, 0);
  for (const char* asking : {"-h", "help", "menu --help", "snapshot --help"}) {
    Outcome again = vemo(asking, false);
    EXPECT_EQ(again.status, 0) << asking;
    EXPECT_EQ(again.out, help.out) << asking;
  }
  const size_t first = help.out.find("Usage: vemo");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(help.out.find("Usage:", first + 1), std::string::npos) << help.out;
  for (const char* command : {"snapshot SCREEN", "demo-report", "feed [LINK]", "saved"})
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  // No words at all opens the window, so it is not a usage mistake.
  for (const char* wrong :
       {"frobnicate", "menu extra", "feed a b", "menu --bogus", "feed --site"}) {
    Outcome run = vemo(wrong, false);
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_NE(run.err.find("Usage: vemo"), std::string::npos) << wrong;
  }
}
