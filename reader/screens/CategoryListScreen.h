#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "reader/feed/FeedRecord.h"
#include "reader/screens/ReaderScreen.h"

namespace ui {
class TableView;
class TableViewCell;
}  // namespace ui

// What the category list and the sub-category list share: the header with back, tools and
// saved-stories buttons, the 70-point rows of names, the table rebuilt on every appearance and
// rotation, and the download of a row's feed that opens the category story list.
class CategoryListScreen : public ReaderScreen,
                           public ui::TableViewDataSource,
                           public ui::TableViewDelegate {
 public:
  static constexpr double kRowHeight = 70;

  ~CategoryListScreen() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
  // Downloads the feed at `url`; once it is in, opens the story list under the myServiceName of
  // this call, or shows the alert when the feed holds no story.
  void loadDataWithURL(const std::string& url);

  double heightForRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

  const std::string& serviceName() const { return myServiceName; }
  ui::TableView* tableView() const { return aTableView.get(); }

 protected:
  CategoryListScreen(const std::string& landscape);

  // Shows the network activity indicator, takes `name` as myServiceName and downloads `link`
  // 0.2 seconds later.
  void openStories(const std::string& name, const std::string& link);
  // A cell of a row: default style, no accessory, "cell_normal.png" behind it,
  // "cell_focus.png" when selected, its text in the bold system font 18.
  static std::shared_ptr<ui::TableViewCell> makeCell(const std::string& identifier);

 private:
  // Header bar and label frames for the flag; the buttons stay where they are.
  void applyHeaderFrames();
  // Replaces the table by a new one with `frame`, filled from the records.
  void rebuildTable(const graphics::Rect& frame);
  // Opens the story list of a downloaded feed under `header`, or shows the alert when the feed
  // holds no story.
  void openStoryList(const std::vector<FeedRecord>& records, const std::string& header);

  std::string myServiceName;
  std::shared_ptr<ui::TableView> aTableView;
  std::shared_ptr<ui::Button> _extraToolBtn;
  std::shared_ptr<ui::Button> _bookmarkListBtn;
};
