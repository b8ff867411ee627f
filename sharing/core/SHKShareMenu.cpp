#include "sharing/core/SHKShareMenu.h"

#include <glib.h>

#include <algorithm>

#include "platform/base/Localization.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKCustomShareMenuCell.h"
#include "sharing/core/SHKSharer.h"

namespace {

// A case-insensitive comparison in the user's collation.
bool namesBefore(const std::string& a, const std::string& b) {
  gchar* fa = g_utf8_casefold(a.c_str(), -1);
  gchar* fb = g_utf8_casefold(b.c_str(), -1);
  bool before = g_utf8_collate(fa, fb) < 0;
  g_free(fa);
  g_free(fb);
  return before;
}

}  // namespace

SHKShareMenu::SHKShareMenu(ui::TableViewStyle style) : ui::TableViewController(style) {
  setTitle(base::localized("Share"));
  navigationItem().setLeftBarButtonItem(
      ui::BarButtonItem::system(ui::BarButtonSystemItem::Cancel, [this] { cancel(); }));
  setEditButton();
}

void SHKShareMenu::setEditButton() {
  navigationItem().setRightBarButtonItem(
      ui::BarButtonItem::withTitle(base::localized("Edit"), ui::BarButtonItemStyle::Bordered,
                                   [this] { edit(); }),
      true);
}

void SHKShareMenu::setItem(std::shared_ptr<SHKItem> item) {
  item_ = std::move(item);
  rebuildTableDataAnimated(false);
}

void SHKShareMenu::rebuildTableDataAnimated(bool animated) {
  ui::TableView& table = tableView();
  table.setAllowsSelectionDuringEditing(true);
  const int32_t type = item_ ? item_->shareType() : SHKShareTypeUndefined;
  const char* lists[2] = {"actions", "services"};
  for (int section = 0; section < 2; ++section) {
    std::vector<Row> rows;
    for (const std::string& name : SHK::registeredSharers(lists[section])) {
      if (!SHKSharer::isRegistered(name)) continue;
      auto sharer = SHKSharer::create(name);
      if (sharer && sharer->canShare() && sharer->canShareType(type))
        rows.push_back({name, sharer->sharerTitle()});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return namesBefore(a.name, b.name); });
    tableData_[section] = std::move(rows);
  }
  exclusions_.clear();
  for (const std::string& name : SHK::excludedSharers()) exclusions_[name] = "1";

  const bool editing = table.isEditing();
  if (!editing && !animated) {
    for (auto& rows : tableData_)
      std::erase_if(rows, [&](const Row& r) { return exclusions_.contains(r.className); });
    table.reloadData();
    return;
  }
  if (editing && !animated) {
    table.reloadData();
    return;
  }
  std::vector<ui::IndexPath> noted;
  for (int section = 0; section < 2; ++section) {
    auto& rows = tableData_[section];
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
      if (exclusions_.contains(rows[row].className)) noted.push_back({section, row});
    if (!editing)
      std::erase_if(rows, [&](const Row& r) { return exclusions_.contains(r.className); });
  }
  table.beginUpdates();
  if (editing)
    table.insertRowsAtIndexPaths(noted, ui::TableViewRowAnimation::Fade);
  else
    table.deleteRowsAtIndexPaths(noted, ui::TableViewRowAnimation::Fade);
  table.endUpdates();
}

void SHKShareMenu::cancel() {
  SHK::currentHelper().hideCurrentViewController();
}

void SHKShareMenu::edit() {
  tableView().setEditing(true, true);
  rebuildTableDataAnimated(true);
  navigationItem().setRightBarButtonItem(
      ui::BarButtonItem::system(ui::BarButtonSystemItem::Done, [this] { save(); }), true);
}

void SHKShareMenu::save() {
  store::Plist stored = store::Plist::dictionary();
  for (const auto& [name, value] : exclusions_) stored.set(name, store::Plist::string(value));
  store::UserDefaults::standard().setObject(std::move(stored), SHK::kExcludedKey);
  tableView().setEditing(false, true);
  rebuildTableDataAnimated(true);
  setEditButton();
}

const SHKShareMenu::Row& SHKShareMenu::rowDataAtIndexPath(ui::IndexPath indexPath) const {
  return tableData_.at(indexPath.section).at(indexPath.row);
}

int SHKShareMenu::numberOfRowsInSection(ui::TableView&, int section) {
  return section >= 0 && section < 2 ? static_cast<int>(tableData_[section].size()) : 0;
}

std::optional<std::string> SHKShareMenu::titleForHeaderInSection(ui::TableView&, int section) {
  if (section < 0 || section > 1 || tableData_[section].empty()) return std::nullopt;
  return base::localized(section == 0 ? "Actions" : "Services");
}

std::shared_ptr<ui::TableViewCell> SHKShareMenu::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                       ui::IndexPath indexPath) {
  auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
  if (!cell) {
    cell =
        std::make_shared<SHKCustomShareMenuCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  }
  const Row& row = rowDataAtIndexPath(indexPath);
  cell->textLabel()->setText(row.name);
  if (!cell->editingAccessoryView()) {
    auto toggle = std::make_shared<ui::Switch>(graphics::Rect{});
    toggle->setUserInteractionEnabled(false);
    cell->setEditingAccessoryView(toggle);
  }
  static_cast<ui::Switch*>(cell->editingAccessoryView())
      ->setOn(!exclusions_.contains(row.className));
  return cell;
}

void SHKShareMenu::didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) {
  const Row row = rowDataAtIndexPath(indexPath);
  if (!tableView.isEditing()) {
    SHKSharer::shareItem(row.className, item_);
    SHK::currentHelper().hideCurrentViewController();
    return;
  }
  auto* cell = tableView.cellForRowAtIndexPath(indexPath);
  auto* toggle = cell ? dynamic_cast<ui::Switch*>(cell->editingAccessoryView()) : nullptr;
  bool on = toggle ? !toggle->isOn() : exclusions_.contains(row.className);
  if (toggle) toggle->setOn(on, true);
  if (on)
    exclusions_.erase(row.className);
  else
    exclusions_[row.className] = "1";
  tableView.deselectRowAtIndexPath(indexPath, false);
}

ui::TableViewCellEditingStyle SHKShareMenu::editingStyleForRowAtIndexPath(ui::TableView&,
                                                                          ui::IndexPath) {
  return ui::TableViewCellEditingStyle::None;
}

void SHKShareMenu::viewDidDisappear(bool animated) {
  ui::TableViewController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
}
