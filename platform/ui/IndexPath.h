#pragma once
#include <compare>

namespace ui {

// A row of a table: its section and its row within that section.
struct IndexPath {
  int section = 0;
  int row = 0;

  static constexpr IndexPath forRow(int row, int section) { return IndexPath{section, row}; }

  friend constexpr bool operator==(const IndexPath&, const IndexPath&) = default;
  // Sections first, then rows: the order rows appear in a table.
  friend constexpr auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

}  // namespace ui
