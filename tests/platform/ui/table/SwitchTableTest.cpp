#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/NavigationController.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Point;
using graphics::Rect;

namespace {

// A grouped settings screen with one switch per row, each switch ignoring touches (the row
// takes them) when `rowTakesTaps` is set, as a menu in editing mode does.
class SettingsScreen : public ui::TableViewController {
 public:
  explicit SettingsScreen(bool rowTakesTaps) : TableViewController(ui::TableViewStyle::Grouped) {
    for (int i = 0; i < 2; ++i) {
      auto toggle = std::make_shared<ui::Switch>();
      toggle->setUserInteractionEnabled(!rowTakesTaps);
      toggle->addValueChangedAction([this, i] { log.push_back("changed " + std::to_string(i)); });
      switches.push_back(toggle);
    }
  }
  int numberOfRowsInSection(ui::TableView&, int) override { return 2; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&,
                                                           ui::IndexPath p) override {
    auto cell = std::make_shared<ui::TableViewCell>();
    cell->setAccessoryView(switches[p.row]);
    return cell;
  }
  void didSelectRowAtIndexPath(ui::TableView&, ui::IndexPath p) override {
    log.push_back("row " + std::to_string(p.row));
  }
  std::vector<std::shared_ptr<ui::Switch>> switches;
  std::vector<std::string> log;
};

class SwitchTableTest : public UiTest {
 protected:
  void show(bool rowTakesTaps) {
    screen = std::make_shared<SettingsScreen>(rowTakesTaps);
    nav = std::make_shared<ui::NavigationController>(screen);
    nav->setNavigationBarHidden(true);
    window->setRootViewController(nav);
    window->layoutIfNeeded();
  }
  // The middle of switch `i` in window coordinates.
  Point switchCentre(int i) {
    ui::Switch& s = *screen->switches[i];
    return s.convertPointToView(s.bounds().center(), nullptr);
  }
  std::unique_ptr<ui::Window> window = std::make_unique<ui::Window>();
  std::shared_ptr<SettingsScreen> screen;
  std::shared_ptr<ui::NavigationController> nav;
};

TEST_F(SwitchTableTest, TapsFlipTheSwitchOrReachTheRow) {
  struct Row {
    bool rowTakesTaps;
    bool enabled;
    bool on;
    std::vector<std::string> log;
  };
  const Row rows[] = {
      {false, true, true, {"changed 1"}},
      {false, false, false, {}},  // disabled: swallowed
      {true, true, false, {"row 1"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rowTakesTaps * 2 + row.enabled);
    show(row.rowTakesTaps);
    screen->switches[1]->setEnabled(row.enabled);
    EXPECT_TRUE(ui::tap(*window, switchCentre(1)));
    EXPECT_EQ(screen->switches[1]->isOn(), row.on);
    EXPECT_FALSE(screen->switches[0]->isOn());
    EXPECT_EQ(screen->log, row.log);
  }
}

TEST_F(SwitchTableTest, ControllerDeselectsOnReturnUnlessAskedNotTo) {
  show(true);
  ui::TableView& table = screen->tableView();
  ASSERT_TRUE(table.tapRowAtIndexPath({0, 1}));
  nav->pushViewController(std::make_shared<ui::ViewController>(), false);
  EXPECT_TRUE(table.indexPathForSelectedRow());
  nav->popViewController(false);
  EXPECT_FALSE(table.indexPathForSelectedRow());

  screen->setClearsSelectionOnViewWillAppear(false);
  ASSERT_TRUE(table.tapRowAtIndexPath({0, 0}));
  nav->pushViewController(std::make_shared<ui::ViewController>(), false);
  nav->popViewController(false);
  EXPECT_EQ(table.indexPathForSelectedRow(), (ui::IndexPath{0, 0}));
}

}  // namespace
