#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/sandbox/ServiceSandbox.h"
#include "app/shell/ProgramConfig.h"
#include "app/shell/ShellOptions.h"
#include "platform/net/UrlLoader.h"
#include "sharing/config/SHKServiceConfig.h"
#include "tests/support/TempDir.h"

using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::optional<ShellOptions> parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string e;
  auto options = ShellOptions::parse(args, e);
  if (error) *error = e;
  return options;
}

int run(const std::string& args) {
  return std::system((std::string(VEMO_PATH) + " " + args + " >/dev/null 2>&1").c_str());
}

// Every tile of the grid: buttons carrying a story index as tag inside the story view (tag 999).
int countTiles(const nlohmann::json& view, bool inGrid = false) {
  int n = 0;
  if (inGrid && view["class"] == "Button" && view["tag"].get<int>() >= 0) ++n;
  bool grid = inGrid || (view["class"] == "ScrollView" && view["tag"] == 999);
  for (const auto& child : view["subviews"]) n += countTiles(child, grid);
  return n;
}

bool hasText(const nlohmann::json& view) {
  if (view.contains("text") && !view["text"].get<std::string>().empty()) return true;
  for (const auto& child : view["subviews"]) {
    if (hasText(child)) return true;
  }
  return false;
}

}  // namespace

TEST(ShellOptions, TellsItsCommandsFromTheTextCommands) {
  EXPECT_TRUE(ShellOptions::handles({}));
  EXPECT_TRUE(ShellOptions::handles({"--site", "http://x", "--scale", "2"}));
  EXPECT_TRUE(ShellOptions::handles({"snapshot", "home"}));
  EXPECT_TRUE(ShellOptions::handles({"--site", "menu", "demo-report"}));
  EXPECT_FALSE(ShellOptions::handles({"feed", "--json"}));
  EXPECT_FALSE(ShellOptions::handles({"--site", "http://x", "menu"}));
}

TEST(ShellOptions, ReadsSnapshotsAndRefusesMistakes) {
  auto options = parse({"snapshot", "lead", "--index", "3", "--landscape", "--style", "list",
                        "--out", "a.png", "--site", "http://news.example/"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->command, ShellOptions::Command::Snapshot);
  EXPECT_EQ(options->screen, "lead");
  EXPECT_EQ(options->index, 3);
  EXPECT_TRUE(options->landscape);
  EXPECT_EQ(options->style, "list");
  EXPECT_EQ(options->site, "http://news.example");

  std::string error;
  EXPECT_FALSE(parse({"snapshot"}, &error));
  EXPECT_FALSE(parse({"snapshot", "nowhere"}));
  EXPECT_FALSE(parse({"snapshot", "home", "--index", "-1"}));
  EXPECT_FALSE(parse({"snapshot", "home", "--out", "a.jpg"}));
  EXPECT_FALSE(parse({"snapshot", "home", "--style", "tiles"}));
  EXPECT_FALSE(parse({"--scale", "0"}));
  EXPECT_FALSE(parse({"--scale", "2x"}));
  EXPECT_FALSE(parse({"--site", "news.example"}));
  EXPECT_FALSE(parse({"--site"}));
  auto window = parse({"--scale", "1.5"});
  ASSERT_TRUE(window);
  EXPECT_EQ(window->command, ShellOptions::Command::Window);
  EXPECT_DOUBLE_EQ(window->scale, 1.5);
}

TEST(ProgramConfig, TakesItsOptionsOutOfTheArguments) {
  const struct {
    std::vector<std::string> args;
    const char* services;  // nullptr: refused
    std::vector<std::string> rest;
  } cases[] = {
      {{"--config", "a.conf", "feed", "--services", "sandbox"}, "sandbox", {"feed"}},
      {{"--site", "http://x", "--services", "http://127.0.0.1:9/"},
       "http://127.0.0.1:9",
       {"--site", "http://x"}},
      {{"--services", "https://sandbox.example"}, "https://sandbox.example", {}},
      {{"--services", "http://sandbox.example"}, nullptr, {}},
      {{"--services", "127.0.0.1:9"}, nullptr, {}},
      {{"menu", "--config"}, nullptr, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    std::string error;
    auto config = ProgramConfig::extract(args, error);
    ASSERT_EQ(config.has_value(), c.services != nullptr) << c.args.back();
    if (!config) continue;
    EXPECT_EQ(config->services, c.services);
    EXPECT_EQ(args, c.rest);
  }
}

TEST(ProgramConfig, SandboxServicesReceiveEveryServicesRequests) {
  TempDir dir;
  std::vector<std::string> args{"--services", "sandbox"};
  std::string error;
  auto config = ProgramConfig::extract(args, error);
  std::ostringstream err;
  ASSERT_TRUE(config && config->apply(err)) << err.str();
  ASSERT_TRUE(config->sandbox());
  const std::string api = SHKServiceConfig::shared().value("SHKInstapaper", "api");
  EXPECT_EQ(api, config->sandbox()->baseUrl() + "/SHKInstapaper/api");

  // A second program uses the running sandbox by its address.
  std::vector<std::string> second{"--services", config->sandbox()->baseUrl()};
  auto other = ProgramConfig::extract(second, error);
  ASSERT_TRUE(other && other->apply(err));
  EXPECT_EQ(SHKServiceConfig::shared().value("SHKTumblr", "api"),
            config->sandbox()->baseUrl() + "/SHKTumblr/api");

  net::UrlRequest request(*net::Url::parse(api + "/api/add?x=1"));
  request.setHttpMethod("POST");
  request.setHttpBody("url=u");
  net::UrlLoader::sendSynchronousRequest(request);
  auto received = config->sandbox()->log().requests();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].service, "SHKInstapaper");
  EXPECT_EQ(received[0].path, "/api/add");
  EXPECT_EQ(received[0].body, "url=u");
  SHKServiceConfig::shared() = SHKServiceConfig();
}

TEST(ProgramConfig, ConfigurationProblemsReachTheUser) {
  TempDir dir;
  writeFile(dir / "bad.conf", "[SHKTwitter]\napi = http://twitter.com\n");
  writeFile(dir / "odd.conf", "[SHKTwitter]\ncolour = red\n");
  writeFile(dir / "config/vemo/vemo.conf", "site\n");
  const struct {
    std::string args;
    int status;
    std::string message;
  } cases[] = {
      {"--config " + (dir / "bad.conf").string() + " saved", 2,
       (dir / "bad.conf").string() + ":2: \"api\" in [SHKTwitter] uses plain http"},
      {"--config " + (dir / "odd.conf").string() + " saved", 0,
       "warning: " + (dir / "odd.conf").string() + ":2: unknown key \"colour\""},
      {"--config " + (dir / "none.conf").string() + " saved", 2, "none.conf: cannot be read"},
      {"saved", 2, "vemo.conf:1: expected \"key = value\""},
  };
  for (const auto& c : cases) {
    std::string command = std::string(VEMO_PATH) + " " + c.args + " 2>" + (dir / "err").string();
    int raw = std::system((command + " >/dev/null").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.args;
    EXPECT_NE(testing_support::readFile(dir / "err").find(c.message), std::string::npos)
        << testing_support::readFile(dir / "err");
  }
}

TEST(Snapshot, HomeShowsTheGridTilesAndLeavesTheStoredStyle) {
  TempDir dir;
  std::string png = (dir / "home.png").string();
  ASSERT_EQ(run("snapshot home --style grid --out " + png), 0);
  std::ifstream in(dir / "home.json");
  nlohmann::json doc = nlohmann::json::parse(in);
  EXPECT_EQ(doc["screen"], "home");
  EXPECT_EQ(doc["style"], "grid");
  EXPECT_GE(countTiles(doc["tree"]), 6);
  EXPECT_TRUE(hasText(doc["tree"]));
  std::ifstream picture(png, std::ios::binary);
  char magic[4] = {};
  picture.read(magic, 4);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");

  // The list style for one snapshot; the stored choice (grid) is what the next one shows.
  ASSERT_EQ(run("snapshot home --style list --landscape --out " + (dir / "list.png").string()), 0);
  std::ifstream listIn(dir / "list.json");
  nlohmann::json list = nlohmann::json::parse(listIn);
  EXPECT_EQ(list["style"], "list");
  EXPECT_EQ(list["tree"]["frame"]["width"], 480);
  EXPECT_EQ(countTiles(list["tree"]), 0);
  ASSERT_EQ(run("snapshot home --out " + (dir / "again.png").string()), 0);
  std::ifstream againIn(dir / "again.json");
  EXPECT_EQ(nlohmann::json::parse(againIn)["style"], "grid");
}

TEST(Snapshot, ArticleRecordsThePageAndBadRequestsFail) {
  TempDir dir;
  ASSERT_EQ(run("snapshot article --index 1 --out " + (dir / "a.png").string()), 0);
  std::ifstream in(dir / "a.json");
  nlohmann::json doc = nlohmann::json::parse(in);
  ASSERT_EQ(doc["webPages"].size(), 1u);
  EXPECT_FALSE(doc["webPages"][0]["loading"].get<bool>());
  EXPECT_NE(doc["webPages"][0]["url"].get<std::string>().find(".html"), std::string::npos);
  EXPECT_FALSE(doc["webPages"][0]["title"].get<std::string>().empty());

  EXPECT_NE(run("snapshot lead --index 999 --out " + (dir / "b.png").string()), 0);
  EXPECT_NE(run("snapshot home --site http://127.0.0.1:9 --out " + (dir / "c.png").string()), 0);
  EXPECT_FALSE(std::ifstream(dir / "b.png").good());
}
