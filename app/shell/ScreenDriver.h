#pragma once
#include <string>

class ReaderSession;
namespace ui {
class Button;
class TableView;
class View;
class WebView;
}  // namespace ui

// Reaches the reader's screens the way a user does: by tapping buttons, tiles and rows of the
// view tree on screen, and letting the main loop run until the screen is at rest. Each step
// returns false, with a reason in error(), when the screen does not offer what it needs.
class ScreenDriver {
 public:
  explicit ScreenDriver(ReaderSession& session) : session_(session) {}

  // Waits for the home feed after launch.
  bool waitForHome();
  // Taps the home screen's style button until it shows `style` ("grid" or "list").
  bool chooseStyle(const std::string& style);
  // The style the home screen shows now ("" when the home screen is not on top).
  std::string homeStyle() const;
  // Turns the device to landscape (as the window's Ctrl+Right does).
  bool turnToLandscape();

  // From the home screen: the category menu.
  bool openCategories();
  // From the category menu: taps the row of category `index` (its story list).
  bool openCategory(int index);
  // From the category menu: taps the round button of category `index` (its sub-categories).
  bool openSubCategories(int index);
  // From the home screen: taps story `index` (tile or row) and waits for its picture.
  bool openLead(int index);
  // From the lead reader: the full-article button.
  bool openArticle();
  // From any screen with the saved-stories button.
  bool openSaved();

  // Why the last step failed.
  const std::string& error() const { return error_; }

  // Helpers over a view tree.
  // The first visible button below `root` showing `image` (as image or background image).
  static ui::Button* findButton(ui::View& root, const std::string& image);
  // The first visible web view below `root`.
  static ui::WebView* findWebView(ui::View& root);
  // Whether `view` and all its ancestors are shown.
  static bool isShown(const ui::View& view);

 private:
  bool tapView(ui::View& view);
  // Scrolls row `row` of the top screen's table with `tag` into view; nullptr when it has none.
  ui::TableView* showRow(int tag, int row);
  bool tapRow(int tag, int row);
  bool fail(std::string message);
  ui::View* topView() const;

  ReaderSession& session_;
  std::string error_;
};
