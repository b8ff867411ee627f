#include "sharing/core/SHKFormController.h"

#include <algorithm>

#include "platform/graphics/Font.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKFormFieldCell.h"

SHKFormController::SHKFormController(ui::TableViewStyle style, std::optional<std::string> title,
                                     const std::string& rightButtonTitle)
    : ui::TableViewController(style) {
  if (title) setTitle(*title);
  // The bar's buttons outlive no form: the form owns its navigation item.
  navigationItem().setLeftBarButtonItem(
      ui::BarButtonItem::system(ui::BarButtonSystemItem::Cancel, [this] { cancel(); }));
  navigationItem().setRightBarButtonItem(ui::BarButtonItem::withTitle(
      rightButtonTitle, ui::BarButtonItemStyle::Done, [this] { validateForm(); }));
}

double SHKFormController::labelWidthFor(const std::vector<SHKFormFieldSettings>& rows) {
  auto measurer = graphics::TextMeasurer::current();
  graphics::Font font = graphics::Font::boldSystem(kLabelFontSize);
  double width = 0;
  for (const auto& row : rows) {
    if (row.type != SHKFormFieldSettings::Text && row.type != SHKFormFieldSettings::Password) {
      continue;
    }
    double w = measurer->measureLine(row.label, font, 1e9, graphics::LineBreakMode::WordWrap).width;
    width = std::max(width, w);
  }
  return width;
}

void SHKFormController::addSection(std::vector<SHKFormFieldSettings> rows,
                                   std::optional<std::string> header,
                                   std::optional<std::string> footer) {
  if (sections_.empty()) labelWidth_ = labelWidthFor(rows);
  sections_.push_back(Section{std::move(rows), std::move(header), std::move(footer)});
}

void SHKFormController::validateForm() {
  if (auto* field = activeField()) field->resignFirstResponder();
  if (validate_) validate_(*this);
}

void SHKFormController::saveForm() {
  if (save_) save_(*this);
  close();
}

void SHKFormController::cancel() {
  close();
}

void SHKFormController::close() {
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
}

const SHKFormFieldSettings* SHKFormController::rowSettingsForIndexPath(
    ui::IndexPath indexPath) const {
  if (indexPath.section < 0 || size_t(indexPath.section) >= sections_.size()) return nullptr;
  const auto& rows = sections_[size_t(indexPath.section)].rows;
  if (indexPath.row < 0 || size_t(indexPath.row) >= rows.size()) return nullptr;
  return &rows[size_t(indexPath.row)];
}

SHKFormController::Values SHKFormController::formValuesForSection(int section) {
  Values result;
  if (section < 0 || size_t(section) >= sections_.size()) return result;
  const auto& rows = sections_[size_t(section)].rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string& key = rows[i].key;
    std::optional<std::string> value;
    if (isViewLoaded()) {
      auto* cell = dynamic_cast<SHKFormFieldCell*>(
          tableView().cellForRowAtIndexPath(ui::IndexPath{section, int(i)}));
      if (cell && cell->settings() && cell->settings()->key == key) value = cell->getValue();
    }
    if (!value) {
      if (auto kept = values_.find(key); kept != values_.end()) value = kept->second;
    }
    if (value) result[key] = *value;
  }
  return result;
}

void SHKFormController::setValueForKey(const std::string& key, const std::string& value) {
  keepValue(key, value);
  if (!isViewLoaded()) return;
  for (auto* visible : tableView().visibleCells()) {
    auto* cell = dynamic_cast<SHKFormFieldCell*>(visible);
    if (cell && cell->settings() && cell->settings()->key == key) cell->setValue(value);
  }
}

void SHKFormController::textFieldDidBeginEditing(ui::TextField& field) {
  activeField_ = std::static_pointer_cast<ui::TextField>(field.shared_from_this());
}

void SHKFormController::textFieldDidChange(ui::TextField& field) {
  for (ui::View* v = field.superview(); v; v = v->superview()) {
    if (auto* cell = dynamic_cast<SHKFormFieldCell*>(v)) {
      if (cell->settings()) keepValue(cell->settings()->key, field.text());
      return;
    }
  }
}

bool SHKFormController::textFieldShouldReturn(ui::TextField&) {
  validateForm();
  return true;
}

int SHKFormController::numberOfRowsInSection(ui::TableView&, int section) {
  if (section < 0 || size_t(section) >= sections_.size()) return 0;
  return int(sections_[size_t(section)].rows.size());
}

std::shared_ptr<ui::TableViewCell> SHKFormController::cellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath indexPath) {
  const SHKFormFieldSettings* settings = rowSettingsForIndexPath(indexPath);
  if (!settings) return nullptr;
  auto cell = std::dynamic_pointer_cast<SHKFormFieldCell>(
      tableView.dequeueReusableCellWithIdentifier(kCellIdentifier));
  if (!cell) {
    cell = std::make_shared<SHKCustomFormFieldCell>(kCellIdentifier, this);
  } else if (cell->settings() && !cell->settings()->key.empty()) {
    // The row this cell showed scrolled away: keep what was typed there.
    if (auto value = cell->getValue()) values_[cell->settings()->key] = *value;
  }
  cell->setSettings(*settings);
  cell->setLabelWidth(labelWidth_);
  cell->textLabel()->setText(settings->label);
  auto kept = values_.find(settings->key);
  cell->setValue(kept != values_.end() ? std::optional<std::string>(kept->second)
                                       : settings->start);
  return cell;
}

std::optional<std::string> SHKFormController::titleForHeaderInSection(ui::TableView&, int section) {
  if (section < 0 || size_t(section) >= sections_.size()) return std::nullopt;
  return sections_[size_t(section)].header;
}

std::optional<std::string> SHKFormController::titleForFooterInSection(ui::TableView&, int section) {
  if (section < 0 || size_t(section) >= sections_.size()) return std::nullopt;
  return sections_[size_t(section)].footer;
}

void SHKFormController::viewDidAppear(bool animated) {
  ui::TableViewController::viewDidAppear(animated);
  if (autoSelect_ && !sections_.empty() && !sections_.front().rows.empty()) {
    tableView().selectRowAtIndexPath(ui::IndexPath{0, 0}, false, ui::TableViewScrollPosition::None);
  }
}

void SHKFormController::viewDidDisappear(bool animated) {
  ui::TableViewController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
  if (disappeared_) disappeared_();
}
