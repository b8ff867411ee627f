#pragma once
#include <memory>
#include <string>
#include <vector>

#include "reader/model/SubService.h"
#include "reader/screens/CategoryListScreen.h"

// The sub-categories of one category, taken from the category's record (nothing is
// downloaded to show them). A row opens the sub-category's stories.
class SubServiceListViewController : public CategoryListScreen {
 public:
  static constexpr const char* kCellIdentifier = "cell";

  // initWithServices:withLandscape:; the flag is set for anything but "NO".
  SubServiceListViewController(std::vector<SubServicePtr> subServices,
                               const std::string& landscape);

  // Opens the stories of the row at `indexPath`.
  void subServiceBtnPush(ui::IndexPath indexPath);

  int numberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

  const std::vector<SubServicePtr>& subServices() const { return dataInArray; }

 private:
  std::vector<SubServicePtr> dataInArray;
};
