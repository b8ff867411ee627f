#include "reader/screens/CategoryListScreen.h"

#include "platform/base/Log.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "reader/screens/ContentView.h"
#include "reader/screens/FeedDownload.h"
#include "reader/screens/ScreenFactory.h"

namespace {
const graphics::Rect kPortraitTable{0, 44, 320, 416};
const graphics::Rect kLandscapeTable{0, 44, 480, 256};
}  // namespace

CategoryListScreen::CategoryListScreen(const std::string& landscape) {
  _landscape = landscape != "NO";
}

CategoryListScreen::~CategoryListScreen() {
  base::log("SERVICE LIST VIEW DEALLOC");
}

void CategoryListScreen::viewDidLoad() {
  base::log("service list view controller");
  setupTheView();
  observeLandscape();
}

void CategoryListScreen::setupTheView() {
  prepareScreenView();
  headerView = makeHeaderBar();
  headerView->setFrame({0, 0, 320, kHeaderHeight});
  // The label stays empty on these screens.
  headerLbl = makeHeaderLabel({40, 0, 240, 44});
  headerLbl->setTextColor(backgroundColor());
  makeImageButton("exit.png", {0, 0, 40, 40}, [this] { backButtonPush(); });
  _extraToolBtn = makeImageButton("tools.png", {40, 0, 40, 40}, [this] { goToExtraToolView(); });
  _extraToolBtn->setBackgroundColor(graphics::Color::clear());
  _bookmarkListBtn =
      makeImageButton("fav_saved.png", {80, 0, 40, 40}, [this] { bookmarkListButtonPush(); });
  rebuildTable(kPortraitTable);
}

void CategoryListScreen::applyHeaderFrames() {
  headerView->setFrame({0, 0, screenWidth(), kHeaderHeight});
  headerLbl->setFrame({_landscape ? 120.0 : 40.0, 0, 240, 44});
}

void CategoryListScreen::rebuildTable(const graphics::Rect& frame) {
  ContentView::remove(*view());
  aTableView = ContentView::makeTable(frame, this, this);
  view()->addSubview(aTableView);
  aTableView->reloadData();
}

void CategoryListScreen::viewWillAppear(bool /*animated*/) {
  base::log("view will appear servicelistview");
  applyHeaderFrames();
  // In landscape the table keeps to the 256 points below the header, as after a rotation, so
  // that its last rows can be scrolled into view.
  rebuildTable(_landscape ? kLandscapeTable : kPortraitTable);
}

void CategoryListScreen::willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                                          double /*duration*/) {
  base::log("rotation servicelistview");
  setLandscapeForOrientation(orientation);
  applyHeaderFrames();
  rebuildTable(_landscape ? kLandscapeTable : kPortraitTable);
  postLandscape();
}

double CategoryListScreen::heightForRowAtIndexPath(ui::TableView& /*tableView*/,
                                                   ui::IndexPath /*indexPath*/) {
  return kRowHeight;
}

std::shared_ptr<ui::TableViewCell> CategoryListScreen::makeCell(const std::string& identifier) {
  auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, identifier);
  cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
  cell->setBackgroundView(
      std::make_shared<ui::ImageView>(graphics::Image::named("cell_normal.png")));
  cell->setSelectedBackgroundView(
      std::make_shared<ui::ImageView>(graphics::Image::named("cell_focus.png")));
  cell->textLabel()->setFont(graphics::Font::boldSystem(18));
  return cell;
}

void CategoryListScreen::openStories(const std::string& name, const std::string& link) {
  showNetworkActivity(true);
  myServiceName = name;
  performAfterDelay(kDeferSeconds, [this, name, link] {
    // Another row tapped within the deferral must not lend this download its name.
    myServiceName = name;
    loadDataWithURL(link);
  });
}

void CategoryListScreen::loadDataWithURL(const std::string& url) {
  // Another row tapped before the download is in must not rename its story list.
  const std::string header = myServiceName;
  std::weak_ptr<char> alive = lifetime();
  FeedDownload::start(url, [this, alive, header](std::vector<FeedRecord> records) {
    if (alive.lock()) openStoryList(records, header);
  });
}

void CategoryListScreen::openStoryList(const std::vector<FeedRecord>& records,
                                       const std::string& header) {
  std::vector<ItemPtr> stories;
  for (const FeedRecord& record : records) {
    if (const auto* item = std::get_if<ItemPtr>(&record)) stories.push_back(*item);
  }
  if (stories.empty()) {
    showAlert(kCannotConnectMessage);
    return;
  }
  const auto& make = ScreenFactory::shared().serviceDetail;
  if (make) pushScreen(make(stories, header, landscapeString(_landscape)));
}
