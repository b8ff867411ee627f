#pragma once
#include <memory>
#include <string>
#include <vector>

#include "reader/model/Service.h"
#include "reader/screens/CategoryListScreen.h"

// The categories of the site's menu. A row opens the category's stories; a row whose category
// has sub-categories also carries a button at its right end that opens their list.
class ServiceListViewController : public CategoryListScreen {
 public:
  static constexpr const char* kCellIdentifier = "cell";
  static constexpr const char* kButtonCellIdentifier = "cellWithButton";

  // initWithServices:withLandscape:; the flag is set for anything but "NO".
  ServiceListViewController(std::vector<ServicePtr> services, const std::string& landscape);

  // A sub-category button (tag = row) was tapped: opens that category's sub-category list.
  void subServiceBtnPush(const ui::Button& sender);

  int numberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

  const std::vector<ServicePtr>& services() const { return dataInArray; }

 private:
  std::shared_ptr<ui::Button> makeSubServiceButton();

  std::vector<ServicePtr> dataInArray;
};
