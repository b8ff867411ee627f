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

// What the home screen and a category's story list share: the stories as a list of story rows
// or a grid of tiles by the style kept in the settings, the style button switching between the
// two, the thumbnails that redraw the list as they arrive, and the lead reader a story opens.
class StoryListScreen : public ReaderScreen,
                        public ui::TableViewDataSource,
                        public ui::TableViewDelegate {
 public:
  ~StoryListScreen() override;

  // Builds the story view for the current style and flag; another style builds nothing.
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

 protected:
  explicit StoryListScreen(std::vector<ItemPtr> stories = {});

  // The alert the portrait or landscape grid shows when there is no story to place.
  virtual const char* emptyGridMessage(bool /*landscapeGrid*/) const { return kUpdatingMessage; }
  // A diagnostic line written for every list row filled, or nullptr for none.
  virtual const char* rowLogLine() const { return nullptr; }

  // The latest stories; the next list or grid is built from them.
  std::vector<ItemPtr> dataInArray;
  std::string myStyleString;
  std::shared_ptr<ui::Button> myStyleButton;

 private:
  void setupList(const graphics::Rect& frame);
  void setupGrid(const graphics::Rect& frame, bool landscapeGrid);
  // Shows the network activity indicator and opens story `index` 0.2 seconds later.
  void openStory(int index);

  // The stories the story view on screen was built from; taps and rows read these, so the view
  // kept on screen after an empty refresh still opens its own stories.
  std::vector<ItemPtr> shownStories_;
  std::shared_ptr<ui::TableView> myTableView;
  // The last grid built, while the grid style is on, with the stories and orientation it shows.
  std::shared_ptr<ui::ScrollView> grid_;
  std::vector<ItemPtr> gridStories_;
  bool gridLandscape_ = false;
  std::shared_ptr<ThumbnailCache> cacheImage;
};
