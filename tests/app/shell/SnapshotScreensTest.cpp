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
#include "tests/support/TempDir.h"

using nlohmann::json;

namespace {

// What a snapshot's view tree shows: the grid's tiles (buttons with a story index inside the
// story view, tag 999), the shown rows of its table with their width and first words, and the
// labels with text but no area.
struct Seen {
  int tiles = 0, wordless = 0;
  std::map<double, std::pair<double, std::string>> rows;  // by top: width and first words
};

void look(const json& view, Seen& seen, bool inGrid, std::string* words) {
  if (view["hidden"].get<bool>() || view["alpha"].get<double>() <= 0) return;
  const json& f = view["frame"];
  if (view.contains("text") && !view["text"].get<std::string>().empty()) {
    if (f["width"].get<double>() <= 0 || f["height"].get<double>() <= 0)
      ++seen.wordless;
    else if (words && words->empty())
      *words = view["text"];
  }
  if (inGrid && view["class"] == "Button" && view["tag"].get<int>() >= 0) ++seen.tiles;
  const bool table = view["class"] == "TableView";
  for (const json& child : view["subviews"]) {
    if (!table) {
      look(child, seen, inGrid || (view["class"] == "ScrollView" && view["tag"] == 999), words);
    } else if (const json& c = child["frame"];
               child["class"] == "TableViewCell" && !child["hidden"].get<bool>() &&
               c["y"].get<double>() < f["y"].get<double>() + f["height"].get<double>() &&
               f["y"].get<double>() < c["y"].get<double>() + c["height"].get<double>()) {
      double width = 0;  // how far its background and content reach
      for (const json& part : child["subviews"])
        if (!part["hidden"].get<bool>())
          width = std::max(width, part["frame"]["x"].get<double>() +
                                      part["frame"]["width"].get<double>() - c["x"].get<double>());
      auto& row = seen.rows[c["y"].get<double>()] = {width, ""};
      look(child, seen, false, &row.second);
    }
  }
}

// The demo site, started once, with two saved stories in each test's settings.
class SnapshotScreens : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = std::make_unique<DemoSite>();
    ASSERT_TRUE(demo_->start());
    HTTPConnection menu;
    menu.startParsingWithURL(demo_->baseUrl() + std::string(NewsSite::kMenuPath));
    for (const FeedRecord& record : menu.getDataInArray())
      if (auto service = std::get_if<ServicePtr>(&record)) services_.push_back(*service);
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
    for (size_t i = 0; i < services_.size(); ++i)
      if (services_[i]->subService.empty() != with) return static_cast<int>(i);
    return -1;
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
    std::string magic(4, '\0');
    std::ifstream(options.out, std::ios::binary).read(magic.data(), 4);
    EXPECT_EQ(magic == "\x89PNG", status == 0) << screen;
    return status == 0 ? json::parse(std::ifstream(SnapshotCommand::jsonPathFor(options.out)))
                       : json();
  }

  testing_support::TempDir dir_;
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
  std::vector<std::string> categories, subCategories, any;
  for (const auto& service : services_) categories.push_back(service->name);
  for (const auto& name : services_[static_cast<size_t>(sub)]->subService)
    subCategories.push_back(name->name);
  const std::vector<std::string> saved = {"Tin đã lưu thứ hai", "Tin đã lưu thứ nhất"};
  const struct {
    const char *screen, *style;
    bool landscape;
    int index;
    const std::vector<std::string>* rows;  // the first words of the rows; null: a grid or none
  } shots[] = {
      {"home", "grid", false, 0, nullptr},
      {"home", "list", true, 0, &any},
      {"home", "", false, 0, nullptr},
      {"categories", "", true, 0, &categories},
      {"subcategories", "", false, sub, &subCategories},
      {"stories", "list", false, 0, &any},
      {"stories", "grid", true, 0, nullptr},
      {"lead", "", true, 0, nullptr},
      {"article", "", true, 1, nullptr},
      {"saved", "", false, 0, &saved},  // newest first
  };
  for (const auto& shot : shots) {
    SCOPED_TRACE(std::string(shot.screen) + " " + shot.style + (shot.landscape ? " turned" : ""));
    std::ostringstream err;
    json doc = snapshot(shot.screen, shot.style, shot.landscape, shot.index, err);
    ASSERT_FALSE(doc.is_null()) << err.str();
    EXPECT_EQ(doc["style"], *shot.style ? shot.style : "grid");  // chosen, else the stored one
    const double width = shot.landscape ? 480 : 320;
    EXPECT_EQ(doc["tree"]["frame"]["width"], width);
    if (shot.screen == std::string("article")) {  // its page loaded, with address and title
      EXPECT_FALSE(doc["webPages"].at(0)["loading"].get<bool>());
      EXPECT_TRUE(doc["webPages"][0]["url"].get<std::string>().ends_with(".html"));
      EXPECT_FALSE(doc["webPages"][0]["title"].get<std::string>().empty());
    }
    Seen seen;
    look(doc["tree"], seen, false, nullptr);
    EXPECT_EQ(seen.wordless, 0);
    const bool grid =
        *shot.style ? shot.style == std::string("grid") : shot.screen == std::string("home");
    EXPECT_EQ(seen.tiles >= 6, grid) << seen.tiles;
    EXPECT_EQ(seen.rows.size() >= 2, shot.rows != nullptr) << "the list shows its rows";
    if (!shot.rows) continue;
    std::vector<std::string> firstWords;
    for (const auto& [top, row] : seen.rows) {
      EXPECT_EQ(row.first, width);
      EXPECT_NE(row.second, "") << "a row without words";
      if (firstWords.size() < shot.rows->size()) firstWords.push_back(row.second);
    }
    if (!shot.rows->empty()) {
      EXPECT_EQ(firstWords, std::vector<std::string>(shot.rows->begin(),
                                                     shot.rows->begin() + firstWords.size()));
    }
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
