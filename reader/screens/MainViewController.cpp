#include "reader/screens/MainViewController.h"

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "reader/model/Utilities.h"
#include "reader/screens/FeedDownload.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/ScreenFactory.h"

MainViewController::MainViewController() = default;

MainViewController::~MainViewController() = default;

void MainViewController::viewDidLoad() {
  base::log("MainviewController");
  reloadObservation_ = base::NotificationCenter::defaultCenter().addObserver(
      kReloadNotification, [this](const base::Notification&) { refreshButtonPush(); });
  _landscape = false;
  setupTheView();
  observeLandscape();
  myStyleString = Utilities().getStyleView();
  loadData([this] { checkTheStyleView(); });
}

void MainViewController::setupTheView() {
  prepareScreenView();
  headerView = makeHeaderBar();
  footView = makeFooterBar(416);
  moreBtn = makeImageButton("menu_home.png", {0, 2, 40, 40}, [this] { moreBtnPush(); });
  _extraToolBtn = makeImageButton("tools.png", {38, 6, 36, 36}, [this] { goToExtraToolView(); });
  myExtraToolButton = _extraToolBtn;
  _bookmarkListBtn =
      makeImageButton("fav_saved.png", {74, 2, 40, 40}, [this] { bookmarkListButtonPush(); });
  headerLbl = makeHeaderLabel({60, 0, 240, 44});
  headerLbl->setText("Vemo");
  headerLbl->setTextColor(graphics::Color{1, 0, 0, 1});
  headerLbl->setAlpha(0.8);
  _refreshBtn =
      makeImageButton("web_refresh.png", {240, 2, 40, 40}, [this] { refreshButtonPush(); });
  _styleBtn = makeImageButton("post_list.png", {280, 2, 40, 40}, [this] { saveStyleView(); });
  myStyleButton = _styleBtn;
}

void MainViewController::applyHeaderFrames() {
  headerView->setFrame({0, 0, screenWidth(), kHeaderHeight});
  moreBtn->setFrame({0, 2, 40, 40});
  if (_landscape) {
    _extraToolBtn->setFrame({40, 6, 36, 36});
    _bookmarkListBtn->setFrame({80, 0, 44, 44});
    headerLbl->setFrame({120, 0, 240, 44});
    _refreshBtn->setFrame({400, 2, 40, 40});
    _styleBtn->setFrame({440, 2, 40, 40});
  } else {
    _extraToolBtn->setFrame({38, 6, 36, 36});
    _bookmarkListBtn->setFrame({74, 2, 40, 40});
    headerLbl->setFrame({60, 0, 240, 44});
    _refreshBtn->setFrame({240, 2, 40, 40});
    _styleBtn->setFrame({280, 2, 40, 40});
  }
}

void MainViewController::loadData(std::function<void()> then) {
  ++feedLoads_;
  std::weak_ptr<char> alive = lifetime();
  FeedDownload::start(NewsSite::address(NewsSite::kHomeFeedPath),
                      [this, alive, then = std::move(then)](std::vector<FeedRecord> records) {
                        if (!alive.lock()) return;
                        --feedLoads_;
                        takeStories(records);
                        if (then) then();
                      });
}

void MainViewController::takeStories(const std::vector<FeedRecord>& records) {
  std::vector<ItemPtr> stories;
  for (const FeedRecord& record : records) {
    if (const auto* item = std::get_if<ItemPtr>(&record)) stories.push_back(*item);
  }
  dataInArray = std::move(stories);
  base::log(base::format("COUNT = %d", static_cast<int>(dataInArray.size())));
}

void MainViewController::refreshButtonPush() {
  loadData([this] { checkTheStyleView(); });
}

void MainViewController::layOutStories() {
  // Before the first feed is in there is nothing to lay out; its arrival lays the stories out
  // (an empty story view now would only say that the feed is empty).
  if (feedLoads_ > 0 && dataInArray.empty()) return;
  checkTheStyleView();
}

void MainViewController::moreBtnPush() {
  showNetworkActivity(true);
  performAfterDelay(kDeferSeconds, [this] { loadMoreData(); });
}

void MainViewController::loadMoreData() {
  std::weak_ptr<char> alive = lifetime();
  FeedDownload::start(NewsSite::address(NewsSite::kMenuPath),
                      [this, alive](std::vector<FeedRecord> records) {
                        if (alive.lock()) openCategories(records);
                      });
}

void MainViewController::openCategories(const std::vector<FeedRecord>& records) {
  base::log(base::format("COUNT = %d", static_cast<int>(records.size())));
  std::vector<ServicePtr> services;
  for (const FeedRecord& record : records) {
    if (const auto* service = std::get_if<ServicePtr>(&record)) services.push_back(*service);
  }
  if (services.empty()) {
    showAlert(kCannotConnectMessage);
    return;
  }
  const auto& make = ScreenFactory::shared().serviceList;
  if (make) pushScreen(make(services, landscapeString(_landscape)));
}

void MainViewController::viewWillAppear(bool /*animated*/) {
  base::log("view will appear mainviewcontroller");
  layOutStories();
  applyHeaderFrames();
}

void MainViewController::willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                                          double /*duration*/) {
  base::log("rotation mainview");
  setLandscapeForOrientation(orientation);
  layOutStories();
  applyHeaderFrames();
  postLandscape();
}
