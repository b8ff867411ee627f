#include "reader/screens/VemoAppDelegate.h"

#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "reader/screens/BookmarkListViewController.h"
#include "reader/screens/DetailViewController.h"
#include "reader/screens/MainViewController.h"
#include "reader/screens/ReaderScreen.h"
#include "reader/screens/SapoViewController.h"
#include "reader/screens/ScreenFactory.h"
#include "reader/screens/ServiceDetailViewController.h"
#include "reader/screens/ServiceListViewController.h"
#include "reader/screens/SubServiceListViewController.h"

VemoAppDelegate::VemoAppDelegate() : window_(std::make_shared<ui::Window>()) {}

VemoAppDelegate::~VemoAppDelegate() = default;

namespace {
// Sets a hook that nothing has set yet; one set before launch (by the shell or a test) stays.
template <typename Hook, typename Make>
void fillHook(Hook& hook, Make make) {
  if (!hook) hook = std::move(make);
}
}  // namespace

void VemoAppDelegate::installScreens() {
  // Each screen of the reader adds its hook here as it is written.
  ScreenFactory& factory = ScreenFactory::shared();
  fillHook(factory.serviceList,
           [](const std::vector<ServicePtr>& services, const std::string& landscape) {
             return std::make_shared<ServiceListViewController>(services, landscape);
           });
  fillHook(factory.subServiceList,
           [](const std::vector<SubServicePtr>& subServices, const std::string& landscape) {
             return std::make_shared<SubServiceListViewController>(subServices, landscape);
           });
  fillHook(factory.serviceDetail, [](const ScreenFactory::Items& stories, const std::string& header,
                                     const std::string& landscape) {
    return std::make_shared<ServiceDetailViewController>(stories, header, landscape);
  });
  fillHook(factory.sapo,
           [](const ScreenFactory::Items& stories, int index, const std::string& landscape) {
             return std::make_shared<SapoViewController>(stories, index, landscape);
           });
  fillHook(factory.detail,
           [](const ScreenFactory::Items& stories, int index, const std::string& landscape) {
             return std::make_shared<DetailViewController>(stories, index, landscape);
           });
  fillHook(factory.bookmarkList,
           [](const ScreenFactory::Items& saved, const std::string& landscape) {
             return std::make_shared<BookmarkListViewController>(saved, landscape);
           });
}

bool VemoAppDelegate::didFinishLaunchingWithOptions(ui::Application& /*application*/,
                                                    const LaunchOptions& /*options*/) {
  installScreens();
  auto home = std::make_shared<MainViewController>();
  viewController_ = std::make_shared<ui::NavigationController>(home);
  home.reset();
  window_->makeKeyAndVisible();
  window_->addSubview(viewController_->view());
  return true;
}

void VemoAppDelegate::applicationDidBecomeActive(ui::Application& /*application*/) {
  base::log("did become active");
  base::NotificationCenter::defaultCenter().post(ReaderScreen::kReloadNotification);
}
