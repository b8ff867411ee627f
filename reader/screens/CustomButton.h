#pragma once
#include <memory>
#include <string>

#include "reader/model/Item.h"

namespace ui {
class Button;
}

// Makes the text tiles of the grid style: a custom button with the story's headline, summary
// (for the wide types) and date, and thin separator lines on its right and bottom edges. The
// caller sets the tile's frame, background images, tag and action.
class CustomButton {
 public:
  // Types: "big", "medium", "small" (portrait), "zero", "one" (landscape) and "right" (as
  // "big"). Any other type gives a tile whose labels are unplaced. `x` and `y` are not used:
  // the caller places the tile.
  std::shared_ptr<ui::Button> getCustomButtonWithItem(const Item& item, const std::string& type,
                                                      int x, int y);
};
