#include <gtest/gtest.h>

#include "platform/ui/NavigationController.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

// A grouped settings screen with one switch per row, each switch ignoring touches (the row
// takes them) when `rowTakesTaps` is set, as a menu in editing mode does.
struct SettingsScreen : ui::TableViewController {
  explicit SettingsScreen(bool rowTakesTaps) : TableViewController(ui::TableViewStyle::Grouped) {
    for (int i = 0; i < 2; ++i) {
      switches.push_back(std::make_shared<ui::Switch>());
      switches[i]->setUserInteractionEnabled(!rowTakesTaps);
      switches[i]->addValueChangedAction(
          [this, i] { log.push_back("changed " + std::to_string(i)); });
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
  std::unique_ptr<ui::Window> window = std::make_unique<ui::Window>();
  std::shared_ptr<SettingsScreen> screen;
  std::shared_ptr<ui::NavigationController> nav;
};

TEST_F(SwitchTableTest, TapsFlipTheSwitchOrReachTheRow) {
  const struct {
    bool rowTakesTaps, enabled, on;
  } rows[] = {{false, true, true}, {false, false, false}, {true, true, false}};
  const std::vector<std::string> logs[] = {{"changed 1"}, {} /* disabled: swallowed */, {"row 1"}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    show(rows[i].rowTakesTaps);
    screen->switches[1]->setEnabled(rows[i].enabled);
    ui::Switch& toggle = *screen->switches[1];
    EXPECT_TRUE(ui::tap(*window, toggle.convertPointToView(toggle.bounds().center(), nullptr)));
    EXPECT_EQ(screen->switches[1]->isOn(), rows[i].on);
    EXPECT_FALSE(screen->switches[0]->isOn());
    EXPECT_EQ(screen->log, logs[i]);
  }
}

}  // namespace
