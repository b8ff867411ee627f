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
    ASSERT_TRUE(Utilities().setBookmarkItem(
        {testing_support::storyAt(demo_->baseUrl() + "/saved/1.html", "Tin đã lưu thứ nhất"),
         testing_support::storyAt(demo_->baseUrl() + "/saved/2.html", "Tin đã lưu thứ hai")}));
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
    const ShellOptions options{.command = ShellOptions::Command::Snapshot,
                               .site = site,
                               .screen = screen,
                               .style = style,
                               .landscape = landscape,
                               .index = index,
                               .out = (dir_ / "shot.png").string(),
                               .outDir = ""};
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

// Every screen and style as the window shows it: lists with rows of words as wide as the screen,
// showing what the screen is about; a style chosen for one snapshot leaves the
// stored one (grid) for the next. Screens that cannot be shown are refused without a picture.
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
      {"subcategories", "", false, category(false), nullptr, "has no sub-categories"},
      {"lead", "", false, 999, nullptr, "cannot show lead"},
      {"home", "", false, 0, nullptr, "vemo: ", "http://127.0.0.1:9"},
  };
  for (const auto& shot : shots) {
    SCOPED_TRACE(std::string(shot.screen) + " " + shot.style + (shot.landscape ? " turned" : ""));
    std::ostringstream err;
    json doc = snapshot(shot.screen, shot.style, shot.landscape, shot.index, err,
                        shot.site ? shot.site : demo_->baseUrl());
    if (shot.refusal) {
      EXPECT_TRUE(doc.is_null());
      EXPECT_NE(err.str().find(shot.refusal), std::string::npos) << err.str();
      continue;
    }
    ASSERT_FALSE(doc.is_null()) << err.str();
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
