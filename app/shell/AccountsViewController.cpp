#include "app/shell/AccountsViewController.h"

#include "facebook/FBLoginButton.h"
#include "facebook/FBSession.h"
#include "platform/base/Localization.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/SHKFacebook.h"

namespace {

// Reloads the table on the next turn, once the session has told every delegate (the row's
// button among them, which the reload replaces).
class SessionWatcher : public FBSessionDelegate {
 public:
  explicit SessionWatcher(AccountsViewController* screen) : screen_(screen) {}
  void sessionDidLogin(FBSession&, FBUid) override { reload(); }
  void sessionDidLogout(FBSession&) override { reload(); }

 private:
  void reload() {
    // The screen owns this watcher: the token lives exactly as long as the screen.
    base::RunLoop::main().performAfter(0, [alive = std::weak_ptr<int>(alive_), screen = screen_] {
      if (alive.lock()) screen->tableView().reloadData();
    });
  }
  AccountsViewController* screen_;
  std::shared_ptr<int> alive_ = std::make_shared<int>();
};

}  // namespace

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

AccountsViewController::~AccountsViewController() {
  if (facebookSession_ && facebookWatcher_)
    facebookSession_->removeDelegate(facebookWatcher_.get());
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
  // Facebook logs in on its own page: its row carries the log-in button.
  if (name == SHKFacebook::kClassName) {
    if (!facebookSession_) {
      facebookSession_ = SHKFacebook::applicationSession();
      facebookWatcher_ = std::make_unique<SessionWatcher>(this);
      facebookSession_->addDelegate(facebookWatcher_.get());
    }
    cell->setAccessoryView(std::make_shared<FBLoginButton>(graphics::Rect{}, facebookSession_));
    // The button shows the state (Connect or Logout); the text would only be cut beside it.
    cell->detailTextLabel()->setText("");
  } else {
    cell->setAccessoryView(nullptr);
  }
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
