#pragma once
#include <cstddef>
#include <string>
#include <utility>

#include "platform/graphics/Geometry.h"

// Where the grid style puts story tiles. Portrait: groups of six stories in three rows of 151
// points (one "big", then "medium" + "small", then three "small"). Landscape: groups of four in
// two rows of 100 points (one "zero", then three "one").
class GridPlacement {
 public:
  struct Tile {
    std::string type;  // the tile type of CustomButton
    graphics::Rect frame;
  };

  static Tile tileAt(size_t index, bool landscape);
  // The index range [first, last) of the tiles of a `count`-tile grid that may meet the content
  // between heights `top` and `bottom`: the whole groups of tiles spanning them.
  static std::pair<size_t, size_t> tilesBetween(double top, double bottom, size_t count,
                                                bool landscape);
  // Content size of a grid of `count` tiles (count > 0).
  static graphics::Size contentSize(size_t count, bool landscape);
};
