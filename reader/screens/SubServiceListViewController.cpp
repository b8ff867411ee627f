#include "reader/screens/SubServiceListViewController.h"

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

SubServiceListViewController::SubServiceListViewController(std::vector<SubServicePtr> subServices,
                                                           const std::string& landscape)
    : CategoryListScreen(landscape), dataInArray(std::move(subServices)) {}

int SubServiceListViewController::numberOfRowsInSection(ui::TableView& /*tableView*/,
                                                        int /*section*/) {
  return static_cast<int>(dataInArray.size());
}

std::shared_ptr<ui::TableViewCell> SubServiceListViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath indexPath) {
  auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
  if (!cell) cell = makeCell(kCellIdentifier);
  cell->textLabel()->setText(dataInArray.at(static_cast<size_t>(indexPath.row))->name);
  return cell;
}

void SubServiceListViewController::didSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                           ui::IndexPath indexPath) {
  subServiceBtnPush(indexPath);
}

void SubServiceListViewController::subServiceBtnPush(ui::IndexPath indexPath) {
  const SubService& subService = *dataInArray.at(static_cast<size_t>(indexPath.row));
  openStories(subService.name, subService.link);
}
