#include "reader/screens/StoryListScreen.h"

#include "platform/base/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "reader/model/Utilities.h"
#include "reader/screens/ContentView.h"
#include "reader/screens/ScreenFactory.h"
#include "reader/screens/StoryCell.h"
#include "reader/screens/ThumbnailCache.h"

namespace {
const graphics::Rect kPortraitContent{0, 44, 320, 416};
const graphics::Rect kLandscapeContent{0, 44, 480, 256};
}  // namespace

StoryListScreen::StoryListScreen(std::vector<ItemPtr> stories)
    : dataInArray(std::move(stories)),
      shownStories_(dataInArray),
      cacheImage(ThumbnailCache::create([this] { displayImage(); })) {}

StoryListScreen::~StoryListScreen() = default;

void StoryListScreen::checkTheStyleView() {
  if (myStyleString == "grid") {
    myStyleButton->setImage(graphics::Image::named("post_list.png"));
    _landscape ? setupGridViewLandscape() : setupGridView();
  } else if (myStyleString == "list") {
    myStyleButton->setImage(graphics::Image::named("post_box.png"));
    _landscape ? setupListViewLandscape() : setupListView();
  }
}

void StoryListScreen::saveStyleView() {
  std::string style = myStyleString == "grid" ? "list" : "grid";
  Utilities().setStyleView(style);
  myStyleString = style;
  checkTheStyleView();
}

void StoryListScreen::removeOldStyleView() {
  ContentView::remove(*view());
}

void StoryListScreen::setupListView() {
  setupList(kPortraitContent);
}

void StoryListScreen::setupListViewLandscape() {
  base::log("ListView Landscape");
  setupList(kLandscapeContent);
  base::log("set list tableview");
}

void StoryListScreen::setupList(const graphics::Rect& frame) {
  if (dataInArray.empty()) {
    showAlert(kUpdatingMessage);
    return;
  }
  removeOldStyleView();
  grid_.reset();
  shownStories_ = dataInArray;
  myTableView = ContentView::makeTable(frame, this, this);
  view()->addSubview(myTableView);
}

void StoryListScreen::setupGridView() {
  setupGrid(kPortraitContent, false);
}

void StoryListScreen::setupGridViewLandscape() {
  setupGrid(kLandscapeContent, true);
}

void StoryListScreen::setupGrid(const graphics::Rect& frame, bool landscapeGrid) {
  if (dataInArray.empty()) {
    showAlert(emptyGridMessage(landscapeGrid));
    return;
  }
  removeOldStyleView();
  // The table left the screen with the list; arriving thumbnails no longer redraw it.
  myTableView.reset();
  shownStories_ = dataInArray;
  // The same stories in the same place: the grid built last time comes back, scrolled to its top
  // as a new one would be, instead of every tile being built anew.
  bool reusable = grid_ && gridStories_ == shownStories_ && gridLandscape_ == _landscape &&
                  grid_->frame() == frame && !grid_->isDragging() && !grid_->isDecelerating();
  if (reusable) {
    grid_->setContentOffset({0, 0});
  } else {
    grid_ = ContentView::makeStoryGrid(frame, shownStories_, _landscape,
                                       [this](int tag) { buttonPush(tag); });
    gridStories_ = shownStories_;
    gridLandscape_ = _landscape;
  }
  view()->addSubview(grid_);
}

void StoryListScreen::openStory(int index) {
  showNetworkActivity(true);
  performAfterDelay(kDeferSeconds, [this, index] { loadArticleWithIndex(index); });
}

void StoryListScreen::buttonPush(int tag) {
  openStory(tag);
}

void StoryListScreen::loadArticleWithIndex(int index) {
  if (index < 0 || static_cast<size_t>(index) >= shownStories_.size()) return;
  const auto& make = ScreenFactory::shared().sapo;
  if (make) pushScreen(make(shownStories_, index, landscapeString(_landscape)));
}

void StoryListScreen::displayImage() {
  if (myTableView) myTableView->reloadData();
}

int StoryListScreen::numberOfRowsInSection(ui::TableView& /*tableView*/, int /*section*/) {
  return static_cast<int>(shownStories_.size());
}

std::shared_ptr<ui::TableViewCell> StoryListScreen::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                          ui::IndexPath indexPath) {
  auto cell = std::dynamic_pointer_cast<StoryCell>(
      tableView.dequeueReusableCellWithIdentifier(StoryCell::kReuseIdentifier));
  if (!cell) cell = std::make_shared<StoryCell>();
  cell->fill(*shownStories_.at(static_cast<size_t>(indexPath.row)), *cacheImage, _landscape);
  if (const char* line = rowLogLine()) base::log(line);
  return cell;
}

double StoryListScreen::heightForRowAtIndexPath(ui::TableView& /*tableView*/,
                                                ui::IndexPath /*indexPath*/) {
  return StoryCell::kRowHeight;
}

void StoryListScreen::didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) {
  openStory(indexPath.row);
  tableView.deselectRowAtIndexPath(indexPath, true);
}
