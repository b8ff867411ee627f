#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/shell/ShellOptions.h"
#include "app/shell/SiteConfig.h"
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

TEST(SiteConfig, ReadsTheSiteLine) {
  TempDir dir;
  EXPECT_EQ(SiteConfig::readSite(dir / "missing.conf"), "");
  writeFile(dir / "a.conf", "# comment\n\n  site =  http://news.example/ \nother = 1\n");
  EXPECT_EQ(SiteConfig::readSite(dir / "a.conf"), "http://news.example");
  writeFile(dir / "b.conf", "site = news.example\n");
  EXPECT_EQ(SiteConfig::readSite(dir / "b.conf"), "") << "an address needs a scheme";
  writeFile(dir / "c.conf", "sites = http://a\nsite=http://b\n");
  EXPECT_EQ(SiteConfig::readSite(dir / "c.conf"), "http://b");
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
