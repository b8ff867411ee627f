#pragma once
#include "platform/ui/TableViewCell.h"

// The share menu's cell, which a host program customizes.
class SHKCustomShareMenuCell : public ui::TableViewCell {
 public:
  using ui::TableViewCell::TableViewCell;
  std::string_view className() const override { return "SHKCustomShareMenuCell"; }
};
