#include "sharing/core/SHKShareMenu.h"

#include "platform/store/UserDefaults.h"
#include "platform/ui/Switch.h"
#include "sharing/core/SHKCustomShareMenu.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

// Registry: actions "zeta", "Alpha", "beta" (links only); services "Mail", "news", and a name
// no service answers to. Each service's title is its class name.
class SHKShareMenuTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    testing_support::writeFile(
        dir_ / "sharers.plist",
        "<plist><dict><key>actions</key><array><string>zeta</string><string>Alpha</string>"
        "<string>beta</string></array><key>services</key><array><string>Mail</string>"
        "<string>news</string><string>unknown</string></array></dict></plist>");
    SHK::reloadSharersDictionary((dir_ / "sharers.plist").string());
    for (std::string name : kServices) {
      SHKSharer::registerClass(
          name, [name] { return std::make_shared<TestService>(name, name != "beta"); });
    }
    menu_ = std::make_shared<SHKCustomShareMenu>();
    SHK::currentHelper().showViewController(std::make_shared<ui::NavigationController>(menu_));
    runFor(1);
  }
  void TearDown() override {
    for (const char* name : kServices) SHKSharer::unregisterClass(name);
    SHK::reloadSharersDictionary();
    SharingTest::TearDown();
  }
  // "Header: row, row | Header: row" as the table shows it; switches as [on]/[off] while editing.
  std::string shown() {
    ui::TableView& table = menu_->tableView();
    std::string out;
    for (int s = 0; s < table.numberOfSections(); ++s) {
      if (s) out += " | ";
      out += menu_->titleForHeaderInSection(table, s).value_or("-") + ":";
      for (int r = 0; r < table.numberOfRowsInSection(s); ++r) {
        auto cell = menu_->cellForRowAtIndexPath(table, {s, r});
        out += " " + cell->textLabel()->text();
        if (table.isEditing())
          out += static_cast<ui::Switch*>(cell->editingAccessoryView())->isOn() ? "[on]" : "[off]";
      }
    }
    return out;
  }
  void press(const std::string& title) {
    auto& item = menu_->navigationItem().rightBarButtonItem();
    ASSERT_EQ(item->title(), title);
    item->press();
    runFor(1);
  }
  static constexpr const char* kServices[] = {"zeta", "Alpha", "beta", "Mail", "news"};
  std::shared_ptr<SHKCustomShareMenu> menu_;
};

TEST_F(SHKShareMenuTest, SectionsSortedByTheItemsTheyTake) {
  const std::pair<std::shared_ptr<SHKItem>, std::string> cases[] = {
      {SHKItem::text("t"), "Actions: Alpha zeta | Services: Mail news"},
      {SHKItem::URL(*net::Url::parse("https://vemo.vn")),
       "Actions: Alpha beta zeta | Services: Mail news"},
  };
  for (const auto& [item, expected] : cases) {
    menu_->setItem(item);
    EXPECT_EQ(shown(), expected);
  }
}

TEST_F(SHKShareMenuTest, SwitchesStoredOnlyOnDoneAndHideServicesEverywhere) {
  menu_->setItem(SHKItem::text("t"));
  press("Edit");
  menu_->didSelectRowAtIndexPath(menu_->tableView(), {1, 0});
  EXPECT_EQ(shown(), "Actions: Alpha[on] zeta[on] | Services: Mail[off] news[on]");
  EXPECT_EQ(store::UserDefaults::standard().objectForKey(SHK::kExcludedKey), std::nullopt);
  EXPECT_TRUE(TestService::shared.empty());

  press("Done");
  EXPECT_EQ(shown(), "Actions: Alpha zeta | Services: news");
  EXPECT_EQ(SHK::excludedSharers(), Strings{"Mail"});

  // Back on: shown again once Done is pressed.
  press("Edit");
  menu_->didSelectRowAtIndexPath(menu_->tableView(), {1, 0});
  press("Done");
  EXPECT_EQ(shown(), "Actions: Alpha zeta | Services: Mail news");
  EXPECT_TRUE(SHK::excludedSharers().empty());
}

}  // namespace
