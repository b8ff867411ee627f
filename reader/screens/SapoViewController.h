#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ScrollView.h"
#include "reader/model/Item.h"
#include "reader/screens/ReaderScreen.h"
#include "reader/screens/SavedStoryList.h"

class AdBannerView;
class ThumbnailCache;
class ThumbnailLoader;

// The lead reader: one page per story in a horizontal pager (picture, headline, date, summary,
// counter), opened at the story tapped on the screen before. From a page the reader opens the
// full article, saves or unsaves the story, opens the saved stories and moves to the previous
// or next story. A house advertising banner sits at the bottom of the pager in portrait.
class SapoViewController : public ReaderScreen, public ui::ScrollViewDelegate {
 public:
  static constexpr int kPagerTag = 9999;
  static constexpr int kBannerTag = 1111;

  // initWithData:withItemIndex:withLandscape:; the flag is set for anything but "NO". Pictures
  // are fetched by `loader` (the shared thumbnail loader when none is given).
  SapoViewController(std::vector<ItemPtr> stories, int index, const std::string& landscape,
                     ThumbnailLoader* loader = nullptr);
  ~SapoViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void loadBookmarkData();
  void setupTheView();
  // Builds the pager for the current flag.
  void checkTheStyleView();
  void setupScrollView();
  void setupScrollViewLandscape();
  // Takes the pager and the banner off the screen.
  void removeOldStyleView();
  void addBanner();

  void scrollViewDidEndDecelerating(ui::ScrollView& scrollView) override;
  void preButtonPush();
  void nextButtonPush();
  void checkTheButtonState();
  void checkBookmarkButtonState();
  void bookmarkButtonPush();
  // Offers the story on screen to the share services.
  void shareButtonPush();
  void detailButtonPush();
  // A picture arrived: the pager is built again at the current story.
  void displayImage();

  int itemIndex() const { return itemIndex_; }
  const std::vector<ItemPtr>& stories() const { return dataInArray; }
  const SavedStoryListPtr& savedStories() const { return bookmarkInArray; }
  ui::ScrollView* pager() const { return myScrollView.get(); }
  AdBannerView* banner() const { return bannerView_.get(); }
  ui::Button* nextButton() const { return myNextButton.get(); }
  ui::Button* previousButton() const { return myPreButton.get(); }
  ui::Button* bookmarkButton() const { return myBookmarkButton.get(); }
  ui::Button* shareButton() const { return shareB.get(); }
  ui::Button* detailButton() const { return detailB.get(); }
  ThumbnailCache& pictures() const { return *cacheImage; }

 private:
  // Fetches the current story's picture unless it was asked for before.
  void requestCurrentPicture();
  void buildPager(graphics::Size pageSize);
  // Frames of the header and footer for the flag; the share button is `shareSize` square.
  void applyFrames(double shareSize);
  bool hasCurrentStory() const;

  std::vector<ItemPtr> dataInArray;
  SavedStoryListPtr bookmarkInArray;
  int itemIndex_;
  std::shared_ptr<ui::ScrollView> myScrollView;
  std::shared_ptr<ui::Button> myNextButton, myPreButton, myBookmarkButton;
  std::shared_ptr<AdBannerView> bannerView_;
  std::shared_ptr<ui::ImageView> footerView;
  std::shared_ptr<ui::Button> backB, detailB, shareB, nextBtn, preBtn, _bookmarkBtn,
      _bookmarkListBtn;
  std::shared_ptr<ThumbnailCache> cacheImage;
};
