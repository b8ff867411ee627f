#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/demo/DemoSite.h"
#include "app/shell/SnapshotCommand.h"
#include "reader/feed/HTTPConnection.h"
#include "reader/model/Service.h"
#include "reader/model/Utilities.h"
#include "reader/screens/NewsSite.h"
#include "tests/support/Stories.h"
#include "tests/support/TempDir.h"

using nlohmann::json;

namespace {

// The shown rows of the tables in a snapshot's view tree, by their top: width and first words.
using Rows = std::map<double, std::pair<double, std::string>>;

double at(const json& view, const char* key) {
  return view["frame"][key].get<double>();
}

void look(const json& view, Rows& rows, std::string* words) {
  if (view["hidden"].get<bool>() || view["alpha"].get<double>() <= 0) return;
  if (words && words->empty() && view.contains("text") && at(view, "width") > 0)
    *words = view["text"];
  for (const json& child : view["subviews"]) {
    if (view["class"] != "TableView") {
      look(child, rows, words);
    } else if (child["class"] == "TableViewCell" && !child["hidden"].get<bool>() &&
               at(child, "y") < at(view, "y") + at(view, "height") &&
               at(view, "y") < at(child, "y") + at(child, "height")) {
      look(child, rows, &(rows[at(child, "y")] = {at(child, "width"), ""}).second);
    }
  }
}

}  // namespace

// Every screen and style as the window shows it: lists with rows of words as wide as the screen,
// showing what the screen is about; a style chosen for one snapshot leaves the stored one (grid)
// for the next. Screens that cannot be shown are refused without a picture.
TEST(SnapshotScreens, ShowEveryScreenAsTheWindowDoes) {
  testing_support::TempDir dir;
  DemoSite demo;
  ASSERT_TRUE(demo.start());
  ASSERT_TRUE(Utilities().setBookmarkItem(
      {testing_support::storyAt(demo.baseUrl() + "/saved/1.html", "Tin đã lưu thứ nhất"),
       testing_support::storyAt(demo.baseUrl() + "/saved/2.html", "Tin đã lưu thứ hai")}));
  HTTPConnection menu;
  menu.startParsingWithURL(demo.baseUrl() + std::string(NewsSite::kMenuPath));
  std::vector<std::string> categories, subCategories, any;
  int sub = -1, flat = -1;  // the first category with sub-categories, and one without
  for (const FeedRecord& record : menu.getDataInArray()) {
    const ServicePtr& service = std::get<ServicePtr>(record);
    if (int& first = service->subService.empty() ? flat : sub; first < 0)
      first = static_cast<int>(categories.size());
    categories.push_back(service->name);
    if (subCategories.empty())
      for (const auto& name : service->subService) subCategories.push_back(name->name);
  }
  ASSERT_GE(sub, 0);
  const std::vector<std::string> saved = {"Tin đã lưu thứ hai", "Tin đã lưu thứ nhất"};
  const struct {
    const char *screen, *style;
    bool landscape;
    int index;
    const std::vector<std::string>* rows;  // the first words of the rows; null: a grid or none
    const char* refusal = nullptr;         // what is said when the screen cannot be shown
    const char* site = nullptr;            // another site than the demo site
  } shots[] = {
      {"home", "list", true, 0, &any},
      {"home", "", false, 0, nullptr},
      {"categories", "", true, 0, &categories},
      {"subcategories", "", false, sub, &subCategories},
      {"stories", "list", false, 0, &any},
      {"stories", "grid", true, 0, nullptr},
      {"lead", "", true, 0, nullptr},
      {"article", "", true, 1, nullptr},
      {"saved", "", false, 0, &saved},  // newest first
      {"subcategories", "", false, flat, nullptr, "has no sub-categories"},
      {"lead", "", false, 999, nullptr, "cannot show lead"},
      {"home", "", false, 0, nullptr, "vemo: ", "http://127.0.0.1:9"},
  };
  for (const auto& shot : shots) {
    SCOPED_TRACE(std::string(shot.screen) + " " + shot.style + (shot.landscape ? " turned" : ""));
    ShellOptions options;
    options.command = ShellOptions::Command::Snapshot;
    options.site = shot.site ? shot.site : demo.baseUrl();
    options.screen = shot.screen;
    options.style = shot.style;
    options.landscape = shot.landscape;
    options.index = shot.index;
    options.out = (dir / "shot.png").string();
    std::filesystem::remove(options.out);
    std::ostringstream out, err;
    const int status = SnapshotCommand(out, err).run(options);
    // A picture, a PNG, only for a screen shown.
    std::string magic(4, '\0');
    std::ifstream(options.out, std::ios::binary).read(magic.data(), 4);
    EXPECT_EQ(magic == "\x89PNG", status == 0);
    ASSERT_EQ(status == 0, !shot.refusal) << err.str();
    if (shot.refusal) {
      EXPECT_NE(err.str().find(shot.refusal), std::string::npos) << err.str();
      continue;
    }
    json doc = json::parse(std::ifstream(SnapshotCommand::jsonPathFor(options.out)));
    EXPECT_EQ(doc["style"], *shot.style ? shot.style : "grid");  // chosen, else the stored one
    const double width = shot.landscape ? 480 : 320;
    EXPECT_EQ(doc["tree"]["frame"]["width"], width);
    if (shot.screen == std::string("article")) {  // its page loaded, with address and title
      EXPECT_FALSE(doc["webPages"].at(0)["loading"].get<bool>());
      EXPECT_TRUE(doc["webPages"][0]["url"].get<std::string>().ends_with(".html"));
      EXPECT_FALSE(doc["webPages"][0]["title"].get<std::string>().empty());
    }
    Rows rows;
    look(doc["tree"], rows, nullptr);
    EXPECT_EQ(rows.size() >= 2, shot.rows != nullptr) << "a list shows its rows, a grid none";
    if (!shot.rows) continue;
    std::vector<std::string> firstWords;
    for (const auto& [top, row] : rows) {
      EXPECT_EQ(row.first, width);
      EXPECT_NE(row.second, "") << "a row without words";
      if (firstWords.size() < shot.rows->size()) firstWords.push_back(row.second);
    }
    EXPECT_EQ(firstWords,
              std::vector<std::string>(shot.rows->begin(), shot.rows->begin() + firstWords.size()));
  }
}
