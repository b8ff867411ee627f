#pragma once
#include <string>
#include <vector>

#include "platform/ui/TableViewController.h"

// The window's accounts screen: every share service of the program with whether it holds a
// login. Choosing a logged-in service logs it out. Done closes the screen. It is shown by the
// sharing framework's current helper, like the services' own screens.
class AccountsViewController : public ui::TableViewController {
 public:
  AccountsViewController();

  // Shows the screen over the application's screen.
  static void present();

  const std::vector<std::string>& services() const { return services_; }

  int numberOfRowsInSection(ui::TableView&, int) override { return int(services_.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  std::optional<std::string> titleForFooterInSection(ui::TableView&, int) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

 private:
  std::vector<std::string> services_;
};
