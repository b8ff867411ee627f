#include "app/shell/AccountsViewController.h"

#include <gtest/gtest.h>

#include "facebook/FBLoginButton.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/SHKFacebook.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

struct LoginService : SHKSharer {
  std::string sharerTitle() const override { return "Login Service"; }
};
struct OpenService : SHKSharer {
  std::string sharerTitle() const override { return "Open Service"; }
  bool requiresAuthentication() const override { return false; }
};

using AccountsScreenTest = SharingTest;

TEST_F(AccountsScreenTest, ListsServicesAndLogsOut) {
  SHKSharer::registerClass("SHKLogin", [] { return std::make_shared<LoginService>(); });
  SHKSharer::registerClass("SHKOpen", [] { return std::make_shared<OpenService>(); });
  SHKFacebook::registerService();
  testing_support::writeFile(dir_ / "SHKSharers.plist",
                             "<plist><dict><key>services</key><array><string>SHKLogin</string>"
                             "<string>SHKUnbuilt</string><string>SHKFacebook</string></array>"
                             "<key>actions</key><array><string>SHKOpen</string></array></dict>"
                             "</plist>");
  SHK::reloadSharersDictionary((dir_ / "SHKSharers.plist").string());
  // Each row as "title: detail".
  auto rows = [&](AccountsViewController& screen) {
    std::vector<std::string> out;
    window_->layoutIfNeeded();
    for (auto* cell : screen.tableView().visibleCells())
      out.push_back(cell->textLabel()->text() + ": " + cell->detailTextLabel()->text());
    return out;
  };
  SHK::setAuthValue("ann", "username", "SHKLogin");
  AccountsViewController::present();
  runFor(0.5);
  auto* navigation = dynamic_cast<ui::NavigationController*>(root_->modalViewController());
  ASSERT_NE(navigation, nullptr);
  auto* screen = dynamic_cast<AccountsViewController*>(navigation->topViewController());
  ASSERT_NE(screen, nullptr);
  // Presented over the whole application frame, under the drawn bar.
  EXPECT_EQ(navigation->view()->frame(), window_->applicationFrame());
  EXPECT_EQ(navigation->navigationBar().frame(), (graphics::Rect{0, 0, 320, 44}));
  // Facebook's row shows its state by its log-in button alone: a text beside it would be cut.
  EXPECT_EQ(rows(*screen), (std::vector<std::string>{"Login Service: Logged in",
                                                     "Facebook: ", "Open Service: No login"}));
  EXPECT_TRUE(dynamic_cast<FBLoginButton*>(screen->tableView().visibleCells()[1]->accessoryView()));
  screen->tableView().tapRowAtIndexPath({0, 0});
  EXPECT_EQ(rows(*screen)[0], "Login Service: Not logged in");

  screen->navigationItem().rightBarButtonItem()->press();
  runFor(0.5);
  EXPECT_EQ(root_->modalViewController(), nullptr);
  EXPECT_EQ(SHK::currentHelper().currentView(), nullptr);
}

}  // namespace
