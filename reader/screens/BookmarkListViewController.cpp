#include "reader/screens/BookmarkListViewController.h"

#include "platform/base/Log.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "reader/model/Utilities.h"
#include "reader/screens/DetailViewController.h"

BookmarkListViewController::BookmarkListViewController(std::vector<ItemPtr> saved,
                                                       const std::string& landscape)
    : dataInArray(std::move(saved)) {
  _landscape = landscape == "YES";
}

BookmarkListViewController::~BookmarkListViewController() {
  if (myTableView) {
    myTableView->setDataSource(nullptr);
    myTableView->setDelegate(nullptr);
  }
  base::log("BOOKMARK LIST VIEW DEALLOC");
}

void BookmarkListViewController::viewDidLoad() {
  base::log("bookmark view controller");
  observeLandscape();
  setupTheView();
  isEditing = false;
}

void BookmarkListViewController::setupTheView() {
  prepareScreenView();
  headerView = makeHeaderBar();
  backB = makeImageButton("exit.png", {0, 0, 40, 40}, [this] { backButtonPush(); });
  headerLbl = makeHeaderLabel({44, 0, 232, 44});
  headerLbl->setText("Bookmark List");
  headerLbl->setTextColor(graphics::Color{1, 0, 0, 1});
  rightB = makeImageButton("edit.png", {276, 0, 40, 40}, [this] { rightButtonPush(); });
  myButton = rightB;
  myTableView =
      std::make_shared<ui::TableView>(graphics::Rect{0, 44, 320, 416}, ui::TableViewStyle::Plain);
  myTableView->setBackgroundColor(graphics::Color::clear());
  myTableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  myTableView->setDelegate(this);
  myTableView->setDataSource(this);
  view()->addSubview(myTableView);
  _extraToolBtn = makeImageButton("tools.png", {40, 4, 36, 36}, [this] { goToExtraToolView(); });
}

void BookmarkListViewController::applyFrames() {
  headerView->setFrame({0, 0, screenWidth(), kHeaderHeight});
  backB->setFrame({0, 0, 40, 40});
  _extraToolBtn->setFrame({40, 4, 36, 36});
  if (_landscape) {
    headerLbl->setFrame({44, 0, 392, 44});
    rightB->setFrame({436, 0, 40, 40});
    myTableView->setFrame({0, 44, 480, 256});
  } else {
    headerLbl->setFrame({44, 0, 232, 44});
    rightB->setFrame({276, 0, 40, 40});
    myTableView->setFrame({0, 44, 320, 416});
  }
}

void BookmarkListViewController::viewWillAppear(bool /*animated*/) {
  // The article reader may have saved or removed stories while this screen was covered.
  dataInArray = Utilities().getBookmarkItem();
  myTableView->reloadData();
  applyFrames();
}

void BookmarkListViewController::willRotateToInterfaceOrientation(
    ui::InterfaceOrientation orientation, double /*duration*/) {
  setLandscapeForOrientation(orientation);
  applyFrames();
  postLandscape();
}

void BookmarkListViewController::rightButtonPush() {
  myButton->setImage(graphics::Image::named(isEditing ? "edit.png" : "edit_done.png"));
  myTableView->setEditing(!isEditing, true);
  isEditing = !isEditing;
}

void BookmarkListViewController::saveData() {
  Utilities().setBookmarkItem(dataInArray);
}

size_t BookmarkListViewController::storyIndexForRow(int row) const {
  return dataInArray.size() - 1 - static_cast<size_t>(row);
}

int BookmarkListViewController::numberOfRowsInSection(ui::TableView& /*tableView*/,
                                                      int /*section*/) {
  return static_cast<int>(dataInArray.size());
}

std::shared_ptr<ui::TableViewCell> BookmarkListViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath indexPath) {
  auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Subtitle, kCellIdentifier);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setBackgroundView(
        std::make_shared<ui::ImageView>(graphics::Image::named("cell_normal.png")));
    cell->setSelectedBackgroundView(
        std::make_shared<ui::ImageView>(graphics::Image::named("cell_focus.png")));
    ui::Label* text = cell->textLabel();
    text->setBackgroundColor(graphics::Color::clear());
    text->setTextColor(graphics::Color::rgb(86, 74, 75));
    text->setFont(graphics::Font::named("TimesNewRomanPS-BoldMT", 18));
    text->setNumberOfLines(2);
  }
  cell->textLabel()->setText(dataInArray[storyIndexForRow(indexPath.row)]->title.value_or(""));
  return cell;
}

bool BookmarkListViewController::canMoveRowAtIndexPath(ui::TableView& /*tableView*/,
                                                       ui::IndexPath /*indexPath*/) {
  return true;
}

void BookmarkListViewController::commitEditingStyle(ui::TableView& tableView,
                                                    ui::TableViewCellEditingStyle style,
                                                    ui::IndexPath indexPath) {
  if (style != ui::TableViewCellEditingStyle::Delete) return;
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(dataInArray.size())) return;
  dataInArray.erase(dataInArray.begin() + static_cast<long>(storyIndexForRow(indexPath.row)));
  static constexpr ui::TableViewRowAnimation kAnimations[] = {
      ui::TableViewRowAnimation::Left, ui::TableViewRowAnimation::Right,
      ui::TableViewRowAnimation::Bottom, ui::TableViewRowAnimation::Top};
  tableView.deleteRowsAtIndexPaths({indexPath}, kAnimations[indexPath.row % 4]);
  saveData();
}

void BookmarkListViewController::moveRowAtIndexPath(ui::TableView& /*tableView*/,
                                                    ui::IndexPath from, ui::IndexPath to) {
  const int count = static_cast<int>(dataInArray.size());
  if (from.row < 0 || from.row >= count || to.row < 0 || to.row >= count) return;
  const size_t source = storyIndexForRow(from.row);
  ItemPtr story = dataInArray[source];
  dataInArray.erase(dataInArray.begin() + static_cast<long>(source));
  // Row `to` of the full list shows index count − 1 − to.row.
  dataInArray.insert(dataInArray.begin() + (count - 1 - to.row), std::move(story));
  saveData();
}

double BookmarkListViewController::heightForRowAtIndexPath(ui::TableView& /*tableView*/,
                                                           ui::IndexPath /*indexPath*/) {
  return kRowHeight;
}

ui::TableViewCellEditingStyle BookmarkListViewController::editingStyleForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath /*indexPath*/) {
  return ui::TableViewCellEditingStyle::Delete;
}

void BookmarkListViewController::didSelectRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath indexPath) {
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(dataInArray.size())) return;
  const int index = static_cast<int>(storyIndexForRow(indexPath.row));
  pushScreen(
      std::make_shared<DetailViewController>(dataInArray, index, landscapeString(_landscape)));
  tableView.deselectRowAtIndexPath(indexPath, true);
}
