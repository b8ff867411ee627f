#include "reader/screens/GridPlacement.h"

#include <algorithm>

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
// Tiles and height of one group.
constexpr size_t kPortraitGroup = 6, kLandscapeGroup = 4;
constexpr double kPortraitGroupHeight = 453, kLandscapeGroupHeight = 200;

}  // namespace

GridPlacement::Tile GridPlacement::tileAt(size_t index, bool landscape) {
  if (landscape) {
    const Slot& s = kLandscape[index % kLandscapeGroup];
    double y0 = kLandscapeGroupHeight * static_cast<double>(index / kLandscapeGroup);
    return {s.type, {s.x, y0 + s.dy, s.width, kLandscapeTileHeight}};
  }
  const Slot& s = kPortrait[index % kPortraitGroup];
  double y0 = kPortraitGroupHeight * static_cast<double>(index / kPortraitGroup);
  return {s.type, {s.x, y0 + s.dy, s.width, kPortraitTileHeight}};
}

graphics::Size GridPlacement::contentSize(size_t count, bool landscape) {
  Tile last = tileAt(count == 0 ? 0 : count - 1, landscape);
  return landscape ? graphics::Size{480, last.frame.y() + kLandscapeTileHeight}
                   : graphics::Size{320, last.frame.y() + kPortraitTileHeight};
}

std::pair<size_t, size_t> GridPlacement::tilesBetween(double top, double bottom, size_t count,
                                                      bool landscape) {
  const size_t group = landscape ? kLandscapeGroup : kPortraitGroup;
  const double height = landscape ? kLandscapeGroupHeight : kPortraitGroupHeight;
  if (bottom < 0 || bottom < top) return {0, 0};
  const auto groupAt = [height](double y) {
    return static_cast<size_t>(std::max(0.0, y) / height);
  };
  const size_t first = std::min(count, groupAt(top) * group);
  const size_t last = std::min(count, (groupAt(bottom) + 1) * group);
  return {first, last};
}
