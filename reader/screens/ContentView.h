#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "reader/model/Item.h"

namespace ui {
class ScrollView;
class TableView;
class TableViewDataSource;
class TableViewDelegate;
class View;
}  // namespace ui

// The replaceable content view of the list screens: the table of a list or the scroll view of
// a story grid, always tagged 999 among the screen view's subviews, one at a time.
class ContentView {
 public:
  static constexpr int kTag = 999;

  // Removes the subview tagged 999 from `screenView`, if there is one.
  static void remove(ui::View& screenView);
  // A plain table with clear background and no separator lines, tagged 999.
  static std::shared_ptr<ui::TableView> makeTable(const graphics::Rect& frame,
                                                  ui::TableViewDataSource* dataSource,
                                                  ui::TableViewDelegate* delegate);
  // A StoryGrid without indicators, tagged 999: one tile per story as GridPlacement places them
  // for the orientation, built as they come near the visible area. Tile i carries tag i,
  // "focus.png" as its highlighted and selected background, and calls `tapped(i)` on
  // touch-up-inside. `stories` is not empty.
  static std::shared_ptr<ui::ScrollView> makeStoryGrid(const graphics::Rect& frame,
                                                       const std::vector<ItemPtr>& stories,
                                                       bool landscape,
                                                       const std::function<void(int)>& tapped);
};
