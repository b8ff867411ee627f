#include "sharing/core/SHKFormFieldCell.h"

#include <cmath>

#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "sharing/core/SHKFormController.h"

SHKFormFieldCell::SHKFormFieldCell(std::string reuseIdentifier, SHKFormController* form)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, std::move(reuseIdentifier)), form_(form) {
  // The label in the font its width is measured in, so the field starts right after it; the
  // row shows its field's focus, not a selected background.
  textLabel()->setFont(graphics::Font::boldSystem(17));
  setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void SHKFormFieldCell::setSettings(SHKFormFieldSettings settings) {
  settings_ = std::move(settings);
  setNeedsLayout();
}

void SHKFormFieldCell::setLabelWidth(double width) {
  labelWidth_ = width;
  setNeedsLayout();
}

std::optional<std::string> SHKFormFieldCell::getValue() {
  if (!settings_) return std::nullopt;
  if (settings_->type == SHKFormFieldSettings::Switch) {
    // Before layout made the switch, the value set last is what it will show.
    bool on = toggle_ ? toggle_->isOn() : tmpValue_ == "1";
    return on ? "1" : "0";
  }
  return getTextField().text();
}

void SHKFormFieldCell::setValue(const std::optional<std::string>& value) {
  tmpValue_ = value;
  if (!settings_) return;
  if (settings_->type == SHKFormFieldSettings::Switch) {
    if (toggle_) toggle_->setOn(value == "1", false);
  } else {
    getTextField().setText(value.value_or(""));
  }
}

ui::TextField& SHKFormFieldCell::getTextField() {
  if (!textField_) {
    textField_ = std::make_shared<ui::TextField>(graphics::Rect{0, 0, 0, kTextFieldHeight});
    textField_->setFont(graphics::Font::system(17));
    textField_->setTextColor(graphics::Color{1.0 / 3, 1.0 / 3, 1.0 / 3, 1});
    textField_->setDelegate(form_);
    textField_->setText(tmpValue_.value_or(""));
    contentView()->addSubview(textField_);
  }
  return *textField_;
}

void SHKFormFieldCell::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  if (!textField_) return;
  if (selected) {
    textField_->becomeFirstResponder();
  } else {
    textField_->resignFirstResponder();
  }
}

void SHKFormFieldCell::layoutSubviews() {
  ui::TableViewCell::layoutSubviews();
  if (!settings_) return;
  graphics::Rect content = contentView()->bounds();
  double w = content.width(), h = content.height();
  if (settings_->type == SHKFormFieldSettings::Switch) {
    if (!toggle_) {
      toggle_ = std::make_shared<ui::Switch>();
      toggle_->setOn(tmpValue_ == "1", false);
      toggle_->addValueChangedAction([this] {
        if (form_ && settings_) form_->keepValue(settings_->key, toggle_->isOn() ? "1" : "0");
      });
    }
    if (!toggle_->superview()) contentView()->addSubview(toggle_);
    graphics::Size size = toggle_->frame().size;
    toggle_->setFrame(
        {w - size.width - 10, std::round(h / 2 - size.height / 2), size.width, size.height});
    if (textField_ && textField_->superview()) textField_->removeFromSuperview();
  } else {
    ui::TextField& field = getTextField();
    field.setSecureTextEntry(settings_->type == SHKFormFieldSettings::Password);
    double fieldHeight = field.frame().height();
    if (!field.superview()) contentView()->addSubview(textField_);
    field.setFrame({24 + labelWidth_, std::round(h / 2 - fieldHeight / 2) + 2,
                    w - 10 - 24 - labelWidth_, fieldHeight});
    if (toggle_ && toggle_->superview()) toggle_->removeFromSuperview();
  }
  if (textField_ && textField_->superview()) contentView()->bringSubviewToFront(textField_.get());
}
