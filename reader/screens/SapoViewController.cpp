#include "reader/screens/SapoViewController.h"

#include "ads/AdBannerView.h"
#include "ads/AdRequest.h"
#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "reader/screens/DetailViewController.h"
#include "reader/screens/SapoPage.h"
#include "reader/screens/StoryShare.h"
#include "reader/screens/ThumbnailCache.h"

namespace {
const graphics::Rect kBannerFrame{0, 370, 320, 50};
}  // namespace

SapoViewController::SapoViewController(std::vector<ItemPtr> stories, int index,
                                       const std::string& landscape, ThumbnailLoader* loader)
    : dataInArray(std::move(stories)),
      itemIndex_(index),
      cacheImage(ThumbnailCache::create([this] { displayImage(); }, loader)) {
  _landscape = landscape != "NO";
}

SapoViewController::~SapoViewController() {
  if (myScrollView) myScrollView->setDelegate(nullptr);
  if (bannerView_) bannerView_->setRootViewController(nullptr);
  base::log("SAPO VIEW DEALLOC");
}

void SapoViewController::viewDidLoad() {
  loadBookmarkData();
  observeLandscape();
  setupTheView();
  showNetworkActivity(false);
}

void SapoViewController::loadBookmarkData() {
  bookmarkInArray = std::make_shared<SavedStoryList>();
}

void SapoViewController::setupTheView() {
  prepareScreenView();
  headerView = makeHeaderBar();
  backB = makeImageButton("exit.png", {0, 0, 40, 40}, [this] { backButtonPush(); });
  _bookmarkListBtn =
      makeImageButton("fav_saved.png", {40, 0, 40, 40}, [this] { bookmarkListButtonPush(); });
  detailB = makeImageButton("web_source.png", {276, 0, 40, 40}, [this] { detailButtonPush(); });
  footerView = makeFooterBar(416);
  footerView->setAlpha(0.6);
  view()->addSubview(footerView);
  shareB = makeImageButton(
      "share_default.png", {5, 416, 44, 44}, [this] { shareButtonPush(); }, true);
  _bookmarkBtn = makeImageButton(SaveButton::kUnsavedImage, {55, 418, 40, 40},
                                 [this] { bookmarkButtonPush(); });
  preBtn = makeImageButton("arrowback.png", {227, 420, 40, 40}, [this] { preButtonPush(); });
  nextBtn = makeImageButton("arrownext.png", {271, 420, 40, 40}, [this] { nextButtonPush(); });
  applyFrames(44);
  myNextButton = nextBtn;
  myPreButton = preBtn;
  myBookmarkButton = _bookmarkBtn;
  checkBookmarkButtonState();
  checkTheStyleView();
  addBanner();
}

void SapoViewController::applyFrames(double shareSize) {
  const double width = screenWidth();
  headerView->setFrame({0, 0, width, kHeaderHeight});
  backB->setFrame({0, 0, 40, 40});
  _bookmarkListBtn->setFrame({40, 0, 40, 40});
  if (_landscape) {
    detailB->setFrame({436, 0, 40, 40});
    footerView->setFrame({0, 260, 480, 40});
    shareB->setFrame({5, 256, shareSize, shareSize});
    _bookmarkBtn->setFrame({55, 256, 40, 40});
    preBtn->setFrame({387, 260, 40, 40});
    nextBtn->setFrame({431, 260, 40, 40});
  } else {
    detailB->setFrame({276, 0, 40, 40});
    footerView->setFrame({0, 416, 320, 44});
    shareB->setFrame({5, 416, shareSize, shareSize});
    _bookmarkBtn->setFrame({55, 418, 40, 40});
    preBtn->setFrame({227, 420, 40, 40});
    nextBtn->setFrame({271, 420, 40, 40});
  }
}

void SapoViewController::checkTheStyleView() {
  _landscape ? setupScrollViewLandscape() : setupScrollView();
}

void SapoViewController::setupScrollView() {
  buildPager(SapoPage::pageSize(false));
}

void SapoViewController::setupScrollViewLandscape() {
  buildPager(SapoPage::pageSize(true));
}

void SapoViewController::buildPager(graphics::Size page) {
  const int count = static_cast<int>(dataInArray.size());
  auto pager = std::make_shared<ui::ScrollView>(graphics::Rect{0, 44, page.width, page.height});
  pager->setDelegate(this);
  pager->setShowsHorizontalScrollIndicator(false);
  pager->setShowsVerticalScrollIndicator(false);
  pager->setPagingEnabled(true);
  pager->setTag(kPagerTag);
  pager->setContentSize({count * page.width, page.height});
  pager->setContentOffset({itemIndex_ * page.width, 0});
  for (int i = 0; i < count; ++i) {
    const Item& story = *dataInArray[static_cast<size_t>(i)];
    graphics::ImagePtr picture = story.imgLink ? cacheImage->imageFor(*story.imgLink) : nullptr;
    pager->addSubview(
        SapoPage::make(story, i, count, picture, _landscape, [this] { detailButtonPush(); }));
  }
  view()->addSubview(pager);
  if (myScrollView && myScrollView != pager) myScrollView->setDelegate(nullptr);
  myScrollView = pager;
}

void SapoViewController::removeOldStyleView() {
  // Copy: removing changes the list of subviews.
  std::vector<ui::ViewPtr> subviews = view()->subviews();
  for (const ui::ViewPtr& subview : subviews) {
    if (subview->tag() == kPagerTag || subview->tag() == kBannerTag) subview->removeFromSuperview();
  }
}

void SapoViewController::addBanner() {
  if (!bannerView_) {
    bannerView_ = std::make_shared<AdBannerView>(kBannerFrame);
    bannerView_->setAdUnitID(AdBannerView::publisherId());
    bannerView_->setTag(kBannerTag);
    bannerView_->setRootViewController(this);
    view()->addSubview(bannerView_);
    bannerView_->loadRequest(AdRequest::request());
  } else if (!bannerView_->superview()) {
    view()->addSubview(bannerView_);
  }
}

bool SapoViewController::hasCurrentStory() const {
  return itemIndex_ >= 0 && static_cast<size_t>(itemIndex_) < dataInArray.size();
}

void SapoViewController::requestCurrentPicture() {
  if (!hasCurrentStory()) return;
  const Item& story = *dataInArray[static_cast<size_t>(itemIndex_)];
  if (story.imgLink && !story.imgLink->empty()) cacheImage->load(*story.imgLink);
}

void SapoViewController::scrollViewDidEndDecelerating(ui::ScrollView& scrollView) {
  const double width = scrollView.frame().width();
  if (width <= 0) return;
  itemIndex_ = static_cast<int>(scrollView.contentOffset().x / width);
  requestCurrentPicture();
  checkTheButtonState();
}

void SapoViewController::preButtonPush() {
  if (itemIndex_ <= 0) return;
  --itemIndex_;
  requestCurrentPicture();
  checkTheButtonState();
}

void SapoViewController::nextButtonPush() {
  if (itemIndex_ + 1 >= static_cast<int>(dataInArray.size())) return;
  ++itemIndex_;
  requestCurrentPicture();
  checkTheButtonState();
}

void SapoViewController::checkTheButtonState() {
  const int count = static_cast<int>(dataInArray.size());
  myNextButton->setEnabled(itemIndex_ < count - 1);
  myPreButton->setEnabled(itemIndex_ > 0);
  if (myScrollView) {
    const graphics::Size page = myScrollView->frame().size;
    myScrollView->scrollRectToVisible({itemIndex_ * page.width, 0, page.width, page.height}, true);
  }
  base::log(base::format("INDEX = %d", itemIndex_));
  checkBookmarkButtonState();
}

void SapoViewController::checkBookmarkButtonState() {
  if (hasCurrentStory()) {
    const Item& story = *dataInArray[static_cast<size_t>(itemIndex_)];
    base::log("CURR ITEM LINK = " + story.link.value_or("(null)"));
    SaveButton::showState(*myBookmarkButton, *bookmarkInArray, story.link);
  }
  base::log(base::format("BOOK MARK = %d ITEMS", static_cast<int>(bookmarkInArray->size())));
}

void SapoViewController::bookmarkButtonPush() {
  if (!hasCurrentStory()) return;
  const ItemPtr& story = dataInArray[static_cast<size_t>(itemIndex_)];
  if (SaveButton::showsSaved(*myBookmarkButton)) {
    bookmarkInArray->removeFirstWithLink(story->link);
  } else {
    bookmarkInArray->append(story);
  }
  checkBookmarkButtonState();
}

void SapoViewController::detailButtonPush() {
  auto detail =
      std::make_shared<DetailViewController>(dataInArray, itemIndex_, landscapeString(_landscape));
  detail->setBookmarkInArray(bookmarkInArray);
  pushScreen(detail);
}

void SapoViewController::displayImage() {
  removeOldStyleView();
  checkTheStyleView();
  addBanner();
}

void SapoViewController::willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                                          double /*duration*/) {
  base::log("rotation mainview");
  setLandscapeForOrientation(orientation);
  removeOldStyleView();
  if (_landscape) {
    setupScrollViewLandscape();
  } else {
    setupScrollView();
    addBanner();
  }
  applyFrames(40);
  postLandscape();
}

void SapoViewController::viewWillAppear(bool /*animated*/) {
  base::log("rotation sapo");
  requestCurrentPicture();
  checkTheButtonState();
  removeOldStyleView();
  if (_landscape) {
    base::log("abc");
    setupScrollViewLandscape();
  } else {
    setupScrollView();
    addBanner();
  }
  applyFrames(44);
  postLandscape();
}

void SapoViewController::shareButtonPush() {
  if (itemIndex_ < 0 || static_cast<size_t>(itemIndex_) >= dataInArray.size()) return;
  story_share::present(*dataInArray[itemIndex_], *this);
}
