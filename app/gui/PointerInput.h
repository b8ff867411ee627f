#pragma once
#include <cstdint>
#include <functional>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Touch.h"

namespace ui {
class ScrollView;
class View;
}  // namespace ui

// Turns the mouse into fingers on the view tree. A press starts a touch (a button highlights);
// lifting it ends the touch (the button acts when the pointer is still inside). Moving further
// than a few points over a scroll view turns the press into a drag of that scroll view: the
// touch is cancelled and the content follows the pointer, then pages or glides with the speed
// it had, unless the touched view follows the drag itself (a table row dragged by its reorder
// handle). The wheel scrolls the scroll view under the pointer (a paged one by whole pages).
// Nothing is taken while the application ignores interaction events. Points are in the root's
// coordinates.
class PointerInput {
 public:
  explicit PointerInput(std::function<ui::View*()> root) : root_(std::move(root)) {}

  void press(graphics::Point point, std::int64_t microseconds);
  void move(graphics::Point point, std::int64_t microseconds);
  void release(graphics::Point point, std::int64_t microseconds);
  // One wheel step (dx, dy in steps; positive dy scrolls the content up) at `point`.
  void wheel(graphics::Point point, double dx, double dy);

  // Distance a press may move and still be a tap, in points.
  static constexpr double kTapSlop = 8;
  // Points scrolled per wheel step.
  static constexpr double kWheelStep = 40;

  // The scroll view that a drag along (dx, dy) starting on `view` moves: the nearest enclosing
  // one that can scroll along the drag's main direction, else the nearest that scrolls at all.
  static ui::ScrollView* scrollViewFor(ui::View* view, double dx, double dy);

 private:
  std::function<ui::View*()> root_;
  ui::Touch touch_;
  ui::View* pressed_ = nullptr;
  bool pressing_ = false;
  ui::ScrollView* dragging_ = nullptr;
  std::weak_ptr<ui::View> draggingAlive_;
  graphics::Point start_, last_;
  std::int64_t lastTime_ = 0;
  graphics::Point velocity_;
};
