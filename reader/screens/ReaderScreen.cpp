#include "reader/screens/ReaderScreen.h"

#include "platform/base/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "reader/model/Utilities.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/ScreenFactory.h"

graphics::Color ReaderScreen::backgroundColor() {
  return graphics::Color::rgb(227, 218, 207);
}

void ReaderScreen::showAlert(const std::string& message) {
  auto alert = std::make_shared<ui::AlertView>(kAlertTitle, message, nullptr, kAlertButton);
  alert->show();
}

void ReaderScreen::backButtonPush() {
  if (auto* navigation = navigationController()) navigation->popViewController(true);
}

void ReaderScreen::goToExtraToolView() {
  showNetworkActivity(true);
  performAfterDelay(kDeferSeconds, [this] { loadMoreExtraToolData(); });
}

void ReaderScreen::loadMoreExtraToolData() {
  auto tools = std::make_shared<Item>();
  tools->link = NewsSite::address(NewsSite::kToolsPath);
  const auto& make = ScreenFactory::shared().detail;
  if (make) pushScreen(make({tools}, 0, landscapeString(_landscape)));
}

void ReaderScreen::bookmarkListButtonPush() {
  std::vector<ItemPtr> saved = Utilities().getBookmarkItem();
  if (saved.empty()) {
    showAlert(kNothingSavedMessage);
    return;
  }
  const auto& make = ScreenFactory::shared().bookmarkList;
  if (make) pushScreen(make(saved, landscapeString(_landscape)));
}

void ReaderScreen::getNotif(const base::Notification& notification) {
  const auto* text = notification.objectAs<std::string>();
  if (!text) {
    // Senders may also pass a string literal.
    if (const auto* literal = notification.objectAs<const char*>()) {
      if (std::string(*literal) == "YES") _landscape = true;
      if (std::string(*literal) == "NO") _landscape = false;
    }
    return;
  }
  if (*text == "YES") _landscape = true;
  if (*text == "NO") _landscape = false;
}

void ReaderScreen::prepareScreenView() {
  view()->setBackgroundColor(backgroundColor());
  if (auto* navigation = navigationController()) navigation->setNavigationBarHidden(true);
}

std::shared_ptr<ui::ImageView> ReaderScreen::makeHeaderBar() {
  auto bar = std::make_shared<ui::ImageView>(graphics::Rect{0, 0, screenWidth(), kHeaderHeight});
  bar->setImage(graphics::Image::named("menu_top_bg640x88.png"));
  bar->setBackgroundColor(graphics::Color::clear());
  bar->setClipsToBounds(true);
  bar->setAlpha(0.8);
  view()->addSubview(bar);
  return bar;
}

std::shared_ptr<ui::ImageView> ReaderScreen::makeFooterBar(double y) {
  auto bar = std::make_shared<ui::ImageView>(graphics::Rect{0, y, screenWidth(), 44});
  bar->setImage(graphics::Image::named("menu_bottom_bg640x98.png"));
  bar->setBackgroundColor(graphics::Color::clear());
  bar->setClipsToBounds(true);
  return bar;
}

std::shared_ptr<ui::Label> ReaderScreen::makeHeaderLabel(const graphics::Rect& frame) {
  auto label = std::make_shared<ui::Label>(frame);
  label->setFont(graphics::Font::boldSystem(20));
  label->setTextAlignment(graphics::TextAlignment::Center);
  label->setBackgroundColor(graphics::Color::clear());
  view()->addSubview(label);
  return label;
}

std::shared_ptr<ui::Button> ReaderScreen::makeImageButton(const std::string& image,
                                                          const graphics::Rect& frame,
                                                          std::function<void()> action,
                                                          bool asBackground) {
  auto button = std::make_shared<ui::Button>(frame);
  if (asBackground) {
    button->setBackgroundImage(graphics::Image::named(image));
  } else {
    button->setImage(graphics::Image::named(image));
  }
  button->setShowsTouchWhenHighlighted(true);
  button->addTarget(std::move(action));
  view()->addSubview(button);
  return button;
}

void ReaderScreen::observeLandscape() {
  landscapeObservation_ = base::NotificationCenter::defaultCenter().addObserver(
      kLandscapeNotification, [this](const base::Notification& n) { getNotif(n); });
}

void ReaderScreen::setLandscapeForOrientation(ui::InterfaceOrientation orientation) {
  _landscape = ui::isLandscape(orientation);
}

void ReaderScreen::postLandscape() {
  base::NotificationCenter::defaultCenter().post(kLandscapeNotification,
                                                 landscapeString(_landscape));
}

void ReaderScreen::showNetworkActivity(bool visible) {
  ui::Application::shared().setNetworkActivityIndicatorVisible(visible);
}

void ReaderScreen::performAfterDelay(double seconds, std::function<void()> task) {
  base::RunLoop::main().performAfter(seconds, [alive = lifetime(), task = std::move(task)] {
    if (alive.lock()) task();
  });
}

void ReaderScreen::pushScreen(std::shared_ptr<ui::ViewController> screen) {
  auto* navigation = navigationController();
  if (screen && navigation) navigation->pushViewController(std::move(screen), true);
}
