#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/base/NotificationCenter.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/ViewController.h"

namespace ui {
class Button;
class ImageView;
class Label;
}  // namespace ui

// The frame every reader screen draws instead of the platform's navigation bar: the landscape
// flag kept in step through the "landscape" notification, the header and footer bars, image
// buttons, the alerts, and the actions the screens share (back, tools page, saved stories).
class ReaderScreen : public ui::ViewController {
 public:
  static constexpr const char* kLandscapeNotification = "landscape";
  static constexpr const char* kReloadNotification = "reload";
  static constexpr const char* kAlertTitle = "Thông Báo";
  static constexpr const char* kAlertButton = "Đồng ý";
  // The category menu (or a category's feed) came back empty.
  static constexpr const char* kCannotConnectMessage =
      "Dữ liệu không thể tải về máy. Lỗi không thể kết nối mạng, Hãy chỉnh lại Cài Đặt máy";
  // A story feed came back empty, or a web page failed to load.
  static constexpr const char* kUpdatingMessage =
      "Dữ liệu đang cập nhật hoặc kết nối bị gián đoạn. Quý khách vui lòng thử lại sau!";
  static constexpr const char* kNothingSavedMessage = "Chưa có mục tin nào được lưu trữ!";
  // Screens defer downloads and pushes by this much so that they redraw first.
  static constexpr double kDeferSeconds = 0.2;

  static constexpr double kHeaderHeight = 44;
  static graphics::Color backgroundColor();

  // "YES" or "NO", as screens pass their flag on.
  static std::string landscapeString(bool landscape) { return landscape ? "YES" : "NO"; }
  // Shows the alert "Thông Báo" with `message` and the one button "Đồng ý".
  static void showAlert(const std::string& message);

  bool landscape() const { return _landscape; }
  // Screen width for the current flag: 320 or 480.
  double screenWidth() const { return _landscape ? 480 : 320; }

  // Pops this screen, animated.
  virtual void backButtonPush();
  // Shows the network activity indicator and opens the tools page 0.2 seconds later.
  void goToExtraToolView();
  // Opens the article reader on the site's tools page.
  void loadMoreExtraToolData();
  // Opens the saved stories, or says that none are saved.
  void bookmarkListButtonPush();
  // "landscape" handler: "YES" sets the flag, "NO" clears it, anything else is ignored.
  void getNotif(const base::Notification& notification);

  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

 protected:
  ReaderScreen() = default;

  // Screen background and the hidden navigation bar.
  void prepareScreenView();
  // Header bar "menu_top_bg640x88.png" at (0, 0, W, 44), alpha 0.8, clipping; added to the view.
  std::shared_ptr<ui::ImageView> makeHeaderBar();
  // Footer bar "menu_bottom_bg640x98.png" at (0, y, W, 44), clipping; not added.
  std::shared_ptr<ui::ImageView> makeFooterBar(double y);
  // Header title: bold system font 20, centred, clear background; added to the view.
  std::shared_ptr<ui::Label> makeHeaderLabel(const graphics::Rect& frame);
  // A custom button showing `image` (or carrying it as background image), glowing while
  // touched, running `action` on touch-up-inside; added to the view.
  std::shared_ptr<ui::Button> makeImageButton(const std::string& image, const graphics::Rect& frame,
                                              std::function<void()> action,
                                              bool asBackground = false);

  // Registers getNotif for "landscape" (ends with the screen).
  void observeLandscape();
  // Sets the flag from a rotation target: landscape unless portrait or upside down.
  void setLandscapeForOrientation(ui::InterfaceOrientation orientation);
  // Posts "landscape" with the current flag.
  void postLandscape();
  // Shows or hides the network activity indicator.
  static void showNetworkActivity(bool visible);
  // Runs `task` `seconds` later on the main loop, unless this screen is gone by then.
  void performAfterDelay(double seconds, std::function<void()> task);
  // Pushes `screen` onto this screen's navigation stack, animated; nothing for no screen.
  void pushScreen(std::shared_ptr<ui::ViewController> screen);

  bool _landscape = false;
  std::shared_ptr<ui::ImageView> headerView;
  std::shared_ptr<ui::Label> headerLbl;

 private:
  base::ObserverToken landscapeObservation_;
};
