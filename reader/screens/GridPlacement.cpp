#include "reader/screens/GridPlacement.h"

namespace {

struct Slot {
  const char* type;
  double x, dy, width;
};

constexpr Slot kPortrait[6] = {{"big", 0, 0, 320},       {"medium", 0, 151, 214},
                               {"small", 214, 151, 107}, {"small", 0, 302, 107},
                               {"small", 107, 302, 107}, {"small", 214, 302, 107}};
constexpr Slot kLandscape[4] = {
    {"zero", 0, 0, 480}, {"one", 0, 100, 160}, {"one", 160, 100, 160}, {"one", 320, 100, 160}};

constexpr double kPortraitTileHeight = 151;
constexpr double kLandscapeTileHeight = 100;

}  // namespace

GridPlacement::Tile GridPlacement::tileAt(size_t index, bool landscape) {
  if (landscape) {
    const Slot& s = kLandscape[index % 4];
    // A group of four starts at 50 × its first story's index (200 per group).
    double y0 = 50.0 * static_cast<double>(index - index % 4);
    return {s.type, {s.x, y0 + s.dy, s.width, kLandscapeTileHeight}};
  }
  const Slot& s = kPortrait[index % 6];
  // A group of six starts at 453 × its first story's index / 6.
  double y0 = 453.0 * static_cast<double>((index - index % 6) / 6);
  return {s.type, {s.x, y0 + s.dy, s.width, kPortraitTileHeight}};
}

graphics::Size GridPlacement::contentSize(size_t count, bool landscape) {
  Tile last = tileAt(count == 0 ? 0 : count - 1, landscape);
  return landscape ? graphics::Size{480, last.frame.y() + kLandscapeTileHeight}
                   : graphics::Size{320, last.frame.y() + kPortraitTileHeight};
}
