#include "app/shell/AccountsViewController.h"

#include "platform/base/Localization.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKSharer.h"

AccountsViewController::AccountsViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped) {
  setTitle(base::localized("Accounts"));
  navigationItem().setRightBarButtonItem(ui::BarButtonItem::system(
      ui::BarButtonSystemItem::Done,
      [] { SHK::currentHelper().hideCurrentViewControllerAnimated(true); }));
  for (const char* list : {"services", "actions"}) {
    for (auto& name : SHK::registeredSharers(list)) {
      if (SHKSharer::isRegistered(name)) services_.push_back(name);
    }
  }
}

void AccountsViewController::present() {
  SHK::currentHelper().showViewController(std::make_shared<AccountsViewController>());
}

std::shared_ptr<ui::TableViewCell> AccountsViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath indexPath) {
  auto cell = tableView.dequeueReusableCellWithIdentifier("Account");
  if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "Account");
  const std::string& name = services_.at(size_t(indexPath.row));
  auto sharer = SHKSharer::create(name);
  bool loggedIn = sharer && sharer->requiresAuthentication() && sharer->isAuthorized();
  cell->textLabel()->setText(sharer ? sharer->sharerTitle() : name);
  cell->detailTextLabel()->setText(!sharer || !sharer->requiresAuthentication()
                                       ? base::localized("No login")
                                       : base::localized(loggedIn ? "Logged in" : "Not logged in"));
  cell->setSelectionStyle(loggedIn ? ui::TableViewCellSelectionStyle::Blue
                                   : ui::TableViewCellSelectionStyle::None);
  return cell;
}

std::optional<std::string> AccountsViewController::titleForFooterInSection(ui::TableView&, int) {
  return base::localized(services_.empty() ? "This program has no share services yet."
                                           : "Choose a service to log out of it.");
}

void AccountsViewController::didSelectRowAtIndexPath(ui::TableView& tableView,
                                                     ui::IndexPath indexPath) {
  SHK::logoutOfService(services_.at(size_t(indexPath.row)));
  tableView.deselectRowAtIndexPath(indexPath, true);
  tableView.reloadData();
}

void AccountsViewController::viewDidDisappear(bool animated) {
  ui::TableViewController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
}
