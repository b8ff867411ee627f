#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "reader/model/Item.h"
#include "reader/screens/ReaderScreen.h"

namespace ui {
class ScrollView;
class TableView;
}  // namespace ui
class ThumbnailCache;

// The home screen, root of the navigation stack: the home feed's stories as a list or a grid of
// tiles (the style is remembered in the settings), and the buttons to the category menu, the
// tools page, the saved stories, refreshing and switching the style.
class MainViewController : public ReaderScreen,
                           public ui::TableViewDataSource,
                           public ui::TableViewDelegate {
 public:
  MainViewController();
  ~MainViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
  // Fetches the home feed into dataInArray.
  void loadData();
  void refreshButtonPush();
  // Builds the story view for the current style and flag.
  void checkTheStyleView();
  // The style button: switches between "grid" and "list" and stores the choice.
  void saveStyleView();
  void removeOldStyleView();
  void setupListView();
  void setupListViewLandscape();
  void setupGridView();
  void setupGridViewLandscape();
  // A grid tile (tag = story index) was tapped.
  void buttonPush(int tag);
  void loadArticleWithIndex(int index);
  void moreBtnPush();
  void loadMoreData();
  // A thumbnail arrived: the list is drawn again.
  void displayImage();

  int numberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  double heightForRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

  const std::vector<ItemPtr>& stories() const { return dataInArray; }
  const std::string& styleString() const { return myStyleString; }
  ui::TableView* tableView() const { return myTableView.get(); }
  ui::Button* styleButton() const { return myStyleButton.get(); }
  ThumbnailCache& thumbnails() const { return *cacheImage; }

 private:
  void applyHeaderFrames();
  void setupList(const graphics::Rect& frame);
  void setupGrid(const graphics::Rect& frame);

  std::vector<ItemPtr> dataInArray;
  // The stories the story view on screen was built from; taps and rows read these, so the view
  // kept on screen after an empty refresh still opens its own stories.
  std::vector<ItemPtr> shownStories_;
  std::shared_ptr<ui::Button> myStyleButton;
  std::shared_ptr<ui::Button> myExtraToolButton;
  std::string myStyleString;
  std::shared_ptr<ui::TableView> myTableView;
  std::shared_ptr<ThumbnailCache> cacheImage;
  std::shared_ptr<ui::ImageView> footView;
  std::shared_ptr<ui::Button> moreBtn, _styleBtn, _extraToolBtn, _bookmarkListBtn, _refreshBtn;
  base::ObserverToken reloadObservation_;
};
