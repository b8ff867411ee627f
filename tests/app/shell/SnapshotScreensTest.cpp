#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
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
  int gridTiles = 0;       // buttons carrying a story index inside the story view (tag 999)
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

// The demo site, started once, with two saved stories in each test's settings.
class SnapshotScreens : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = std::make_unique<DemoSite>();
    ASSERT_TRUE(demo_->start());
    HTTPConnection menu;
    menu.startParsingWithURL(demo_->baseUrl() + std::string(NewsSite::kMenuPath));
    for (const FeedRecord& record : menu.getDataInArray()) {
      if (auto service = std::get_if<ServicePtr>(&record)) services_.push_back(*service);
    }
  }
  static void TearDownTestSuite() {
    services_.clear();
    demo_.reset();
  }
  void SetUp() override {
    std::vector<ItemPtr> saved;
    for (const char* title : {"Tin đã lưu thứ nhất", "Tin đã lưu thứ hai"}) {
      saved.push_back(std::make_shared<Item>());
      saved.back()->title = title;
      saved.back()->link = demo_->baseUrl() + "/saved/" + std::to_string(saved.size()) + ".html";
    }
    ASSERT_TRUE(Utilities().setBookmarkItem(saved));
  }

  // The first category with sub-categories (with = true) or without them.
  static int category(bool with) {
    auto found = std::find_if(services_.begin(), services_.end(),
                              [&](const auto& s) { return s->subService.empty() != with; });
    return found == services_.end() ? -1 : static_cast<int>(found - services_.begin());
  }

  // Takes the snapshot and returns its record, whose picture must be a PNG; null, with the
  // message in `err`, on failure, when no picture may be left either.
  json snapshot(const std::string& screen, const std::string& style, bool landscape, int index,
                std::ostringstream& err, std::string site = demo_->baseUrl()) {
    ShellOptions options;
    options.command = ShellOptions::Command::Snapshot;
    options.site = site;
    options.screen = screen;
    options.style = style;
    options.landscape = landscape;
    options.index = index;
    options.out = (dir_ / "shot.png").string();
    std::filesystem::remove(options.out);
    std::ostringstream out;
    const int status = SnapshotCommand(out, err).run(options);
    std::ifstream picture(options.out, std::ios::binary);
    std::string magic(4, '\0');
    picture.read(magic.data(), 4);
    EXPECT_EQ(magic == "\x89PNG", status == 0) << screen;
    if (status != 0) return {};
    std::ifstream in(SnapshotCommand::jsonPathFor(options.out));
    return json::parse(in);
  }

  TempDir dir_;
  static inline std::unique_ptr<DemoSite> demo_;
  static inline std::vector<ServicePtr> services_;
};

}  // namespace

// Every screen and style as the window shows it: lists with rows of words as wide as the
// screen, showing what the screen is about; grids with tiles; no label left without an area;
// a style chosen for one snapshot leaves the stored one (grid) for the next.
TEST_F(SnapshotScreens, ShowEveryScreenAsTheWindowDoes) {
  const int sub = category(true);
  ASSERT_GE(sub, 0);
  std::vector<std::string> categories, subCategories;
  for (const auto& service : services_) categories.push_back(service->name);
  for (const auto& name : services_[static_cast<size_t>(sub)]->subService) {
    subCategories.push_back(name->name);
  }
  const std::vector<std::string> anyWords, saved = {"Tin đã lưu thứ hai", "Tin đã lưu thứ nhất"};
  struct Shot {
    const char* screen;
    const char* style;
    bool landscape;
    int index;
    bool grid;
    const std::vector<std::string>* rows;  // the first words of the rows; null: no list
  };
  const Shot shots[] = {
      {"home", "grid", false, 0, true, nullptr},
      {"home", "list", true, 0, false, &anyWords},
      {"home", "", false, 0, true, nullptr},
      {"categories", "", false, 0, false, &categories},
      {"categories", "", true, 0, false, &categories},
      {"subcategories", "", false, sub, false, &subCategories},
      {"subcategories", "", true, sub, false, &subCategories},
      {"stories", "list", false, 0, false, &anyWords},
      {"stories", "grid", true, 0, true, nullptr},
      {"lead", "", true, 0, false, nullptr},
      {"article", "", true, 1, false, nullptr},
      {"saved", "", false, 0, false, &saved},  // newest first
      {"saved", "", true, 0, false, &saved},
  };
  for (const Shot& shot : shots) {
    SCOPED_TRACE(std::string(shot.screen) + " " + shot.style + (shot.landscape ? " turned" : ""));
    std::ostringstream err;
    json doc = snapshot(shot.screen, shot.style, shot.landscape, shot.index, err);
    if (doc.is_null()) {
      ADD_FAILURE() << err.str();
      continue;
    }
    EXPECT_EQ(doc["screen"], shot.screen);
    EXPECT_EQ(doc["style"], *shot.style ? shot.style : "grid");  // chosen, else the stored one
    const double width = shot.landscape ? 480 : 320;
    EXPECT_EQ(doc["tree"]["frame"]["width"], width);
    if (shot.screen == std::string("article")) {  // its page loaded, with address and title
      ASSERT_EQ(doc["webPages"].size(), 1u);
      EXPECT_FALSE(doc["webPages"][0]["loading"].get<bool>());
      EXPECT_TRUE(doc["webPages"][0]["url"].get<std::string>().ends_with(".html"));
      EXPECT_FALSE(doc["webPages"][0]["title"].get<std::string>().empty());
    }
    Seen seen;
    look(doc["tree"], seen, nullptr, false);
    EXPECT_EQ(seen.wordlessLabels, 0);
    EXPECT_EQ(seen.gridTiles > 0, shot.grid);
    EXPECT_GE(seen.gridTiles, shot.grid ? 6 : 0);
    EXPECT_EQ(seen.tables.size(), shot.rows ? 1u : 0u);
    if (!shot.rows || seen.tables.empty()) continue;
    const auto& rows = seen.tables.front();
    EXPECT_GE(rows.size(), 2u) << "the list shows its rows";
    std::vector<std::string> firstWords;
    for (const auto& row : rows) {
      EXPECT_EQ(row.width, width);
      EXPECT_FALSE(row.words.empty()) << "a row without words";
      firstWords.push_back(row.words.empty() ? "" : row.words.front());
    }
    if (shot.rows->empty()) continue;
    const size_t shown = std::min(rows.size(), shot.rows->size());
    EXPECT_EQ(firstWords, std::vector<std::string>(shot.rows->begin(), shot.rows->begin() + shown));
  }
}

TEST_F(SnapshotScreens, ImpossibleScreensAreRefusedWithoutAPicture) {
  const struct {
    const char* screen;
    int index;
    std::string site, message;
  } cases[] = {
      {"subcategories", category(false), demo_->baseUrl(), "has no sub-categories"},
      {"lead", 999, demo_->baseUrl(), "cannot show lead"},
      {"home", 0, "http://127.0.0.1:9", "vemo: "},
  };
  for (const auto& c : cases) {
    std::ostringstream err;
    EXPECT_TRUE(snapshot(c.screen, "", false, c.index, err, c.site).is_null()) << c.screen;
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
  }
}
