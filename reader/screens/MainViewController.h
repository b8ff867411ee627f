#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "reader/feed/FeedRecord.h"
#include "reader/screens/StoryListScreen.h"

// The home screen, root of the navigation stack: the home feed's stories as a list or a grid of
// tiles (the style is remembered in the settings), and the buttons to the category menu, the
// tools page, the saved stories, refreshing and switching the style.
class MainViewController : public StoryListScreen {
 public:
  MainViewController();
  ~MainViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
  // Fetches the home feed into dataInArray, then runs `then`.
  void loadData(std::function<void()> then);
  void refreshButtonPush();
  void moreBtnPush();
  void loadMoreData();

 private:
  void applyHeaderFrames();
  // The stories of a downloaded home feed become dataInArray.
  void takeStories(const std::vector<FeedRecord>& records);
  // Opens the category list on a downloaded menu, or says that it could not be loaded.
  void openCategories(const std::vector<FeedRecord>& records);
  // checkTheStyleView, unless the first home feed is still on its way.
  void layOutStories();

  std::shared_ptr<ui::Button> myExtraToolButton;
  std::shared_ptr<ui::ImageView> footView;
  std::shared_ptr<ui::Button> moreBtn, _styleBtn, _extraToolBtn, _bookmarkListBtn, _refreshBtn;
  base::ObserverToken reloadObservation_;
  // Home feed downloads not in yet.
  int feedLoads_ = 0;
};
