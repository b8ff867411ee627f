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

// The stories of one category or sub-category, as a list or a grid of tiles by the style kept
// in the settings, under a header with the category's name. A story opens the lead reader with
// every story of the category. A name too wide for the header scrolls to and fro.
class ServiceDetailViewController : public ReaderScreen,
                                    public ui::TableViewDataSource,
                                    public ui::TableViewDelegate {
 public:
  // A header title wider than this scrolls inside the header scroll view.
  static constexpr double kHeaderScrollWidth = 220;
  static constexpr double kHeaderScrollSeconds = 2.0;

  // initWithServices:withHeader:withLandscape:; the flag is set for anything but "NO".
  ServiceDetailViewController(std::vector<ItemPtr> stories, std::string header,
                              const std::string& landscape);
  ~ServiceDetailViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
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
  // The two halves of the header title's endless scroll.
  void scrollHeaderLabel();
  void resetHeaderLabel();

  int numberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  double heightForRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

  const std::vector<ItemPtr>& stories() const { return dataInArray; }
  const std::string& header() const { return myHeader; }
  const std::string& styleString() const { return myStyleString; }
  ui::Button* styleButton() const { return myStyleButton.get(); }
  ui::TableView* tableView() const { return myTableView.get(); }
  ui::ScrollView* headerScrollView() const { return myScrollHeader.get(); }
  ui::Label* titleLabel() const { return titleLbl.get(); }
  ThumbnailCache& thumbnails() const { return *cacheImage; }

 private:
  void setupHeaderScroll();
  // Header bar, title and style button for the flag; `landscapeTitleX` differs between an
  // appearance and a rotation.
  void applyHeaderFrames(double landscapeTitleX);
  void setupList(const graphics::Rect& frame);
  void setupGrid(const graphics::Rect& frame, const char* emptyMessage);
  void openStory(int index);

  std::vector<ItemPtr> dataInArray;
  std::shared_ptr<ui::Button> myStyleButton;
  std::string myStyleString;
  std::string myHeader;
  std::shared_ptr<ui::ScrollView> myScrollHeader;
  std::shared_ptr<ui::TableView> myTableView;
  std::shared_ptr<ThumbnailCache> cacheImage;
  std::shared_ptr<ui::Button> _styleBtn, _extraToolBtn, _bookmarkListBtn;
  std::shared_ptr<ui::Label> titleLbl;
};
