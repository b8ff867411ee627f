#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableViewController.h"
#include "sharing/core/SHKItem.h"

// Every registered service that can share the item, in two sorted sections ("Actions" and
// "Services"). Choosing a row starts that service. Edit shows every service with a switch;
// switching one off hides it here and from the favourites, stored only when Done is pressed.
class SHKShareMenu : public ui::TableViewController {
 public:
  struct Row {
    std::string className;
    std::string name;
  };
  static constexpr const char* kCellIdentifier = "Cell";

  explicit SHKShareMenu(ui::TableViewStyle style = ui::TableViewStyle::Plain);

  const std::shared_ptr<SHKItem>& item() const { return item_; }
  // Stores the item and rebuilds the table without animation.
  void setItem(std::shared_ptr<SHKItem> item);
  void rebuildTableDataAnimated(bool animated);

  void cancel();
  void edit();
  void save();

  const std::array<std::vector<Row>, 2>& tableData() const { return tableData_; }
  const std::map<std::string, std::string>& exclusions() const { return exclusions_; }
  const Row& rowDataAtIndexPath(ui::IndexPath indexPath) const;

  int numberOfSectionsInTableView(ui::TableView&) override { return 2; }
  int numberOfRowsInSection(ui::TableView&, int section) override;
  std::optional<std::string> titleForHeaderInSection(ui::TableView&, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
  ui::TableViewCellEditingStyle editingStyleForRowAtIndexPath(ui::TableView&,
                                                              ui::IndexPath) override;
  bool shouldIndentWhileEditingRowAtIndexPath(ui::TableView&, ui::IndexPath) override {
    return false;
  }
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

 private:
  void setEditButton();

  std::shared_ptr<SHKItem> item_;
  std::array<std::vector<Row>, 2> tableData_;
  std::map<std::string, std::string> exclusions_;
};
