#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Switch.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "sharing/core/SHKFormFieldSettings.h"

class SHKFormController;

// A form row: its label at the left and a text field (plain or password) or a switch. The
// control is made on first need; the last value set is kept until it exists.
class SHKFormFieldCell : public ui::TableViewCell {
 public:
  static constexpr double kTextFieldHeight = 25;

  SHKFormFieldCell(std::string reuseIdentifier, SHKFormController* form);

  std::string_view className() const override { return "SHKFormFieldCell"; }

  const std::optional<SHKFormFieldSettings>& settings() const { return settings_; }
  void setSettings(SHKFormFieldSettings settings);
  double labelWidth() const { return labelWidth_; }
  void setLabelWidth(double width);

  // "1" or "0" for a switch, the typed text otherwise; nothing before the cell has a field.
  std::optional<std::string> getValue();
  void setValue(const std::optional<std::string>& value);

  ui::TextField& getTextField();
  ui::TextField* textField() const { return textField_.get(); }
  ui::Switch* toggle() const { return toggle_.get(); }

  void setSelected(bool selected, bool animated) override;

 protected:
  void layoutSubviews() override;

 private:
  std::optional<SHKFormFieldSettings> settings_;
  double labelWidth_ = 0;
  std::shared_ptr<ui::TextField> textField_;
  std::shared_ptr<ui::Switch> toggle_;
  std::optional<std::string> tmpValue_;
  SHKFormController* form_;
};

// The cell forms are made with, so a host program can restyle it.
class SHKCustomFormFieldCell : public SHKFormFieldCell {
 public:
  using SHKFormFieldCell::SHKFormFieldCell;
};
