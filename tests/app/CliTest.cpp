// Runs the vemo program end to end against a news site on loopback and the demo site.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>

#include "reader/model/Utilities.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

using testing_support::LoopbackServer;
using testing_support::TempDir;

namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs the program with `args` (already shell-quoted) in the temporary folder's environment.
Outcome vemo(const TempDir& dir, const std::string& args) {
  std::string command = std::string(VEMO_CLI_PATH) + " " + args + " >" + (dir / "out").string() +
                        " 2>" + (dir / "err").string();
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing_support::readFile(dir / "out"),
          testing_support::readFile(dir / "err")};
}

const char* const kMenu =
    "<menu><service name=\"Thời sự\" link=\"http://x/ts.rss\">"
    "<subService name=\"Xã hội\" link=\"http://x/xh.rss\"/></service>"
    "<service name=\"Thể thao\" link=\"http://x/tt.rss\"/></menu>";

const char* const kFeed =
    "<rss><channel><title>Vemo</title><item><title>Bão số 1</title>"
    "<link>http://x/bao.html</link><description>&lt;img src=\"http://x/bao.jpg\" /&gt;Mưa"
    "</description><guid>bao</guid></item></channel></rss>";

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    site.server().Get("/mobi/app_menu.php", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kMenu, "text/xml");
    });
    site.server().Get("/Home.rss", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kFeed, "text/xml");
    });
    site.server().Get("/rss/the-thao.rss", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kFeed, "text/xml");
    });
    site.server().Get("/broken.rss", [](const httplib::Request&, httplib::Response& res) {
      res.status = 503;
      res.set_content(kFeed, "text/xml");
    });
    site.server().Get("/other.xml", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<html/>", "text/xml");
    });
    site.start();
  }

  std::string siteOption() const { return "--site " + site.url("/"); }

  TempDir dir;
  LoopbackServer site;
};

}  // namespace

TEST_F(Cli, PrintsTheMenuAsJsonAndText) {
  Outcome json = vemo(dir, "menu --json " + siteOption());
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"([
              {"name": "Thời sự", "link": "http://x/ts.rss",
               "subServices": [{"name": "Xã hội", "link": "http://x/xh.rss"}]},
              {"name": "Thể thao", "link": "http://x/tt.rss", "subServices": []}])"));

  Outcome text = vemo(dir, "menu " + siteOption());
  ASSERT_EQ(text.status, 0);
  EXPECT_EQ(
      text.out,
      "Thời sự  <http://x/ts.rss>\n    Xã hội  <http://x/xh.rss>\nThể thao  <http://x/tt.rss>\n");
}

TEST_F(Cli, PrintsTheHomeFeedOrTheFeedAtALink) {
  std::vector<std::string> links = {"", "/rss/the-thao.rss", "rss/the-thao.rss",
                                    "'" + site.url("/rss/the-thao.rss") + "'"};
  for (const std::string& link : links) {
    Outcome run = vemo(dir, "feed " + link + " --json " + siteOption());
    ASSERT_EQ(run.status, 0) << link << run.err;
    nlohmann::json stories = nlohmann::json::parse(run.out);
    ASSERT_EQ(stories.size(), 1u);
    EXPECT_EQ(stories[0]["title"], "Bão số 1");
    EXPECT_EQ(stories[0]["avatar"], "http://x/bao.jpg");
    EXPECT_EQ(stories[0]["description"], "Mưa");
    EXPECT_EQ(stories[0]["pubDate"], "");
  }
  Outcome text = vemo(dir, "feed " + siteOption());
  EXPECT_NE(text.out.find("1. Bão số 1\n   http://x/bao.html\n"), std::string::npos) << text.out;
}

TEST_F(Cli, ExplainsFailedDownloadsAndExitsNonZero) {
  Outcome error = vemo(dir, "feed /broken.rss " + siteOption());
  EXPECT_EQ(error.status, 1);
  EXPECT_TRUE(error.out.empty());
  EXPECT_NE(error.err.find("status 503"), std::string::npos) << error.err;

  Outcome empty = vemo(dir, "feed /other.xml " + siteOption());
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("holds no stories"), std::string::npos) << empty.err;

  Outcome noMenu = vemo(dir, "menu --site http://127.0.0.1:1");
  EXPECT_EQ(noMenu.status, 1);
  EXPECT_NE(noMenu.err.find("could not load the menu"), std::string::npos) << noMenu.err;
}

TEST_F(Cli, PrintsSavedStoriesInStoredOrder) {
  Outcome none = vemo(dir, "saved --json");
  ASSERT_EQ(none.status, 0) << none.err;
  EXPECT_EQ(nlohmann::json::parse(none.out), nlohmann::json::array());

  auto first = std::make_shared<Item>();
  first->title = "Sau";
  first->link = "http://x/2";
  auto second = std::make_shared<Item>();
  second->title = "Trước";
  second->link = "http://x/1";
  second->avatar = "http://x/1.jpg";
  ASSERT_TRUE(Utilities().setBookmarkItem({first, second}));

  Outcome saved = vemo(dir, "saved --json");
  ASSERT_EQ(saved.status, 0) << saved.err;
  nlohmann::json stories = nlohmann::json::parse(saved.out);
  ASSERT_EQ(stories.size(), 2u);
  EXPECT_EQ(stories[0]["title"], "Sau");
  EXPECT_TRUE(stories[0]["avatar"].is_null());
  EXPECT_TRUE(stories[0]["guid"].is_null());
  EXPECT_EQ(stories[1]["avatar"], "http://x/1.jpg");
}

TEST_F(Cli, ServesTheDemoSiteWhenNoSiteIsGiven) {
  Outcome menu = vemo(dir, "menu --json");
  ASSERT_EQ(menu.status, 0) << menu.err;
  EXPECT_FALSE(nlohmann::json::parse(menu.out).empty());
  Outcome feed = vemo(dir, "feed --json");
  ASSERT_EQ(feed.status, 0) << feed.err;
  EXPECT_FALSE(nlohmann::json::parse(feed.out).empty());
}

TEST_F(Cli, LogsOnRequestAndExplainsUsage) {
  Outcome logged = vemo(dir, "feed --log " + siteOption());
  EXPECT_NE(logged.err.find("REQUEST = " + site.url("/Home.rss")), std::string::npos);
  EXPECT_NE(logged.err.find("PARSER DEALLOC"), std::string::npos);
  Outcome quiet = vemo(dir, "feed " + siteOption());
  EXPECT_EQ(quiet.err, "");

  // Every way of asking prints the same single text, naming the window's commands and the text
  // commands alike.
  Outcome help = vemo(dir, "--help");
  EXPECT_EQ(help.status, 0);
  for (const char* asking : {"-h", "help", "menu --help", "snapshot --help"}) {
    Outcome again = vemo(dir, asking);
    EXPECT_EQ(again.status, 0) << asking;
    EXPECT_EQ(again.out, help.out) << asking;
  }
  size_t first = help.out.find("Usage: vemo");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(help.out.find("Usage:", first + 1), std::string::npos) << help.out;
  for (const char* command : {"snapshot SCREEN", "demo-report", "feed [LINK]", "saved"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  // No words at all opens the window, so it is not a usage mistake.
  for (const char* wrong :
       {"frobnicate", "menu extra", "feed a b", "menu --bogus", "feed --site"}) {
    Outcome run = vemo(dir, wrong);
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_NE(run.err.find("Usage: vemo"), std::string::npos) << wrong;
  }
}
