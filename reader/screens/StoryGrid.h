#pragma once
#include <functional>
#include <vector>

#include "platform/ui/ScrollView.h"
#include "reader/model/Item.h"

// The scroll view of the grid style: one tile per story as GridPlacement places them for the
// orientation, tile i tagged i and calling `tapped(i)` on touch-up-inside. The content size
// covers every story, but a tile is built only once it comes within a screen's height of the
// visible area, so a grid of thousands of stories costs no more to show than its first screens.
// Built tiles stay, in story order among the subviews.
class StoryGrid : public ui::ScrollView {
 public:
  StoryGrid(const graphics::Rect& frame, std::vector<ItemPtr> stories, bool landscape,
            std::function<void(int)> tapped);

 protected:
  void boundsOriginDidChange() override;
  void layoutSubviews() override;

 private:
  void buildNearVisibleArea();
  void buildTile(size_t index);

  std::vector<ItemPtr> stories_;
  bool landscape_;
  std::function<void(int)> tapped_;
  std::vector<bool> built_;
};
