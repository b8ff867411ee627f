#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/demo/DemoSite.h"
#include "app/shell/SnapshotCommand.h"
#include "reader/feed/HTTPConnection.h"
#include "reader/model/Service.h"
#include "reader/model/Utilities.h"
#include "reader/screens/NewsSite.h"
#include "tests/support/TempDir.h"

using nlohmann::json;
using testing_support::TempDir;

namespace {

// What a snapshot's view tree holds, as the eye sees it: shown labels with words, and the rows
// of shown tables that lie within their table, top to bottom.
struct Seen {
  struct Row {
    double top = 0;
    double width = 0;                // how far its background and content reach
    std::vector<std::string> words;  // texts of its shown, non-empty labels with an area
  };
  std::vector<std::vector<Row>> tables;
  int gridTiles = 0;
  int wordlessLabels = 0;  // shown labels with text but no area
};

bool overlaps(const json& a, const json& b) {
  auto edge = [](const json& f, const char* at, const char* size) {
    return f[at].get<double>() + f[size].get<double>();
  };
  return a["x"] < edge(b, "x", "width") && b["x"] < edge(a, "x", "width") &&
         a["y"] < edge(b, "y", "height") && b["y"] < edge(a, "y", "height");
}

void look(const json& view, Seen& seen, Seen::Row* row, bool inGrid) {
  if (view["hidden"].get<bool>() || view["alpha"].get<double>() <= 0) return;
  const json& frame = view["frame"];
  const bool hasArea = frame["width"].get<double>() > 0 && frame["height"].get<double>() > 0;
  if (view.contains("text") && !view["text"].get<std::string>().empty()) {
    if (!hasArea) ++seen.wordlessLabels;
    if (hasArea && row) row->words.push_back(view["text"]);
  }
  if (inGrid && view["class"] == "Button" && view["tag"].get<int>() >= 0) ++seen.gridTiles;
  if (view["class"] == "TableView") {
    std::vector<Seen::Row> rows;
    for (const json& cell : view["subviews"]) {
      if (cell["class"] != "TableViewCell" || cell["hidden"].get<bool>() ||
          !overlaps(cell["frame"], frame)) {
        continue;
      }
      Seen::Row& row = rows.emplace_back();
      row.top = cell["frame"]["y"];
      for (const json& part : cell["subviews"]) {
        if (part["hidden"].get<bool>()) continue;
        const json& at = part["frame"];
        row.width = std::max(row.width, at["x"].get<double>() + at["width"].get<double>() -
                                            cell["frame"]["x"].get<double>());
      }
      look(cell, seen, &row, false);
    }
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.top < b.top; });
    seen.tables.push_back(std::move(rows));
    return;
  }
  const bool grid = inGrid || (view["class"] == "ScrollView" && view["tag"] == 999);
  for (const json& child : view["subviews"]) look(child, seen, row, grid);
}

// The menu's category names, and the sub-category names of each.
struct Menu {
  std::vector<std::string> categories;
  std::vector<std::vector<std::string>> subCategories;
};

Menu readMenu(const std::string& site) {
  HTTPConnection connection;
  connection.startParsingWithURL(site + std::string(NewsSite::kMenuPath));
  Menu menu;
  for (const FeedRecord& record : connection.getDataInArray()) {
    if (auto service = std::get_if<ServicePtr>(&record)) {
      menu.categories.push_back((*service)->name);
      menu.subCategories.emplace_back();
      for (const auto& sub : (*service)->subService) menu.subCategories.back().push_back(sub->name);
    }
  }
  return menu;
}

class SnapshotScreens : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(demo_.start());
    menu_ = readMenu(demo_.baseUrl());
    for (size_t i = 0; i < menu_.categories.size() && sub_ < 0; ++i) {
      if (!menu_.subCategories[i].empty()) sub_ = static_cast<int>(i);
    }
    ASSERT_GE(sub_, 0) << "the demo menu has a category with sub-categories";
    std::vector<ItemPtr> saved;
    for (const char* title : {"Tin đã lưu thứ nhất", "Tin đã lưu thứ hai"}) {
      auto item = std::make_shared<Item>();
      item->title = title;
      item->link = demo_.baseUrl() + "/saved/" + std::to_string(saved.size()) + ".html";
      saved.push_back(item);
      savedTitles_.push_back(title);
    }
    ASSERT_TRUE(Utilities().setBookmarkItem(saved));
  }

  // Takes the snapshot and reads its view tree back.
  json snapshot(const std::string& screen, const std::string& style, bool landscape, int index) {
    ShellOptions options;
    options.command = ShellOptions::Command::Snapshot;
    options.site = demo_.baseUrl();
    options.screen = screen;
    options.style = style;
    options.landscape = landscape;
    options.index = index;
    options.out = (dir_ / "shot.png").string();
    std::ostringstream out, err;
    if (SnapshotCommand(out, err).run(options) != 0) {
      ADD_FAILURE() << err.str();
      return {};
    }
    std::ifstream in(SnapshotCommand::jsonPathFor(options.out));
    return json::parse(in);
  }

  TempDir dir_;
  DemoSite demo_;
  Menu menu_;
  int sub_ = -1;
  std::vector<std::string> savedTitles_;
};

// The first words of each row, in order.
std::vector<std::string> firstWords(const std::vector<Seen::Row>& rows) {
  std::vector<std::string> words;
  for (const auto& row : rows) words.push_back(row.words.empty() ? "" : row.words.front());
  return words;
}

std::vector<std::string> head(const std::vector<std::string>& names, size_t count) {
  return {names.begin(), names.begin() + static_cast<long>(std::min(count, names.size()))};
}

}  // namespace

// Every screen and style as the window shows it: lists with rows of words as wide as the
// screen, the rows the screen is about, grids with tiles, and no label left without an area.
TEST_F(SnapshotScreens, ShowEveryScreenAsTheWindowDoes) {
  enum class Shows { Grid, Stories, Categories, SubCategories, Saved, Page };
  struct Shot {
    const char* screen;
    const char* style;
    bool landscape;
    Shows shows;
  };
  const Shot shots[] = {
      {"home", "grid", false, Shows::Grid},
      {"home", "list", true, Shows::Stories},
      {"categories", "", false, Shows::Categories},
      {"categories", "", true, Shows::Categories},
      {"subcategories", "", false, Shows::SubCategories},
      {"subcategories", "", true, Shows::SubCategories},
      {"stories", "list", false, Shows::Stories},
      {"stories", "grid", true, Shows::Grid},
      {"lead", "", true, Shows::Page},
      {"article", "", true, Shows::Page},
      {"saved", "", false, Shows::Saved},
      {"saved", "", true, Shows::Saved},
  };
  for (const Shot& shot : shots) {
    SCOPED_TRACE(std::string(shot.screen) + " " + shot.style +
                 (shot.landscape ? " landscape" : " portrait"));
    const int index = shot.shows == Shows::SubCategories ? sub_ : 0;
    json doc = snapshot(shot.screen, shot.style, shot.landscape, index);
    if (doc.is_null()) continue;
    const double width = shot.landscape ? 480 : 320;
    EXPECT_EQ(doc["tree"]["frame"]["width"], width);
    Seen seen;
    look(doc["tree"], seen, nullptr, false);
    EXPECT_EQ(seen.wordlessLabels, 0);

    const bool list = shot.shows != Shows::Grid && shot.shows != Shows::Page;
    EXPECT_EQ(seen.tables.size(), list ? 1u : 0u);
    EXPECT_EQ(seen.gridTiles > 0, shot.shows == Shows::Grid);
    if (!list || seen.tables.empty()) continue;
    const auto& rows = seen.tables.front();
    EXPECT_GE(rows.size(), 2u) << "the list shows its rows";
    for (const auto& row : rows) {
      EXPECT_EQ(row.width, width);
      EXPECT_FALSE(row.words.empty()) << "a row without words";
    }
    const std::vector<std::string> words = firstWords(rows);
    if (shot.shows == Shows::Categories) {
      EXPECT_EQ(words, head(menu_.categories, rows.size()));
    }
    if (shot.shows == Shows::SubCategories) {
      EXPECT_EQ(words, head(menu_.subCategories[static_cast<size_t>(sub_)], rows.size()));
    }
    if (shot.shows == Shows::Saved) {
      // Newest first.
      EXPECT_EQ(words, std::vector<std::string>(savedTitles_.rbegin(), savedTitles_.rend()));
    }
  }
}

TEST_F(SnapshotScreens, SubCategoriesOfACategoryWithoutThemAreRefused) {
  const auto plain = std::find_if(menu_.subCategories.begin(), menu_.subCategories.end(),
                                  [](const auto& names) { return names.empty(); });
  ASSERT_NE(plain, menu_.subCategories.end());
  ShellOptions options;
  options.command = ShellOptions::Command::Snapshot;
  options.site = demo_.baseUrl();
  options.screen = "subcategories";
  options.index = static_cast<int>(plain - menu_.subCategories.begin());
  options.out = (dir_ / "none.png").string();
  std::ostringstream out, err;
  EXPECT_EQ(SnapshotCommand(out, err).run(options), 1);
  EXPECT_NE(err.str().find("has no sub-categories"), std::string::npos) << err.str();
}
