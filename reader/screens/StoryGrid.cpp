#include "reader/screens/StoryGrid.h"

#include <algorithm>

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "reader/screens/CustomButton.h"
#include "reader/screens/GridPlacement.h"

StoryGrid::StoryGrid(const graphics::Rect& frame, std::vector<ItemPtr> stories, bool landscape,
                     std::function<void(int)> tapped)
    : ui::ScrollView(frame),
      stories_(std::move(stories)),
      landscape_(landscape),
      tapped_(std::move(tapped)),
      built_(stories_.size(), false) {
  setContentSize(GridPlacement::contentSize(stories_.size(), landscape_));
  buildNearVisibleArea();
}

void StoryGrid::boundsOriginDidChange() {
  buildNearVisibleArea();
  ui::ScrollView::boundsOriginDidChange();
}

void StoryGrid::layoutSubviews() {
  ui::ScrollView::layoutSubviews();
  buildNearVisibleArea();
}

void StoryGrid::buildNearVisibleArea() {
  const double height = bounds().height();
  const double top = contentOffset().y - height, bottom = contentOffset().y + 2 * height;
  auto [first, last] = GridPlacement::tilesBetween(top, bottom, stories_.size(), landscape_);
  for (size_t i = first; i < last; ++i) {
    if (built_[i]) continue;
    const graphics::Rect frame = GridPlacement::tileAt(i, landscape_).frame;
    if (frame.maxY() > top && frame.y() < bottom) buildTile(i);
  }
}

void StoryGrid::buildTile(size_t index) {
  GridPlacement::Tile place = GridPlacement::tileAt(index, landscape_);
  auto tile = CustomButton().getCustomButtonWithItem(*stories_[index], place.type,
                                                     static_cast<int>(place.frame.x()),
                                                     static_cast<int>(place.frame.y()));
  tile->setFrame(place.frame);
  tile->setBackgroundImage(graphics::Image::named("focus.png"), ui::ControlState::Highlighted);
  tile->setBackgroundImage(graphics::Image::named("focus.png"), ui::ControlState::Selected);
  const int tag = static_cast<int>(index);
  tile->setTag(tag);
  tile->addTarget([tapped = tapped_, tag] { tapped(tag); });
  // Among the subviews after every built tile of a lower index.
  const size_t before = static_cast<size_t>(
      std::count(built_.begin(), built_.begin() + static_cast<std::ptrdiff_t>(index), true));
  built_[index] = true;
  insertSubview(tile, before);
}
