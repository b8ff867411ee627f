#include "app/gui/PointerInput.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Application.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

namespace {

bool canScroll(const ui::ScrollView& sv, bool horizontal) {
  graphics::Point max = sv.maximumContentOffset();
  return horizontal ? max.x > 0 : max.y > 0;
}

}  // namespace

ui::ScrollView* PointerInput::scrollViewFor(ui::View* view, double dx, double dy) {
  const bool horizontal = std::abs(dx) > std::abs(dy);
  ui::ScrollView* any = nullptr;
  for (ui::View* v = view; v; v = v->superview()) {
    auto* sv = dynamic_cast<ui::ScrollView*>(v);
    if (!sv || !sv->isScrollEnabled() || !sv->isUserInteractionEnabled()) continue;
    if (canScroll(*sv, horizontal)) return sv;
    if (!any && (canScroll(*sv, !horizontal) || sv->bounces())) any = sv;
  }
  return any;
}

void PointerInput::press(graphics::Point point, std::int64_t microseconds) {
  ui::View* root = root_();
  pressing_ = false;
  dragging_ = nullptr;
  if (!root || ui::Application::shared().isIgnoringInteractionEvents()) return;
  pressing_ = true;
  start_ = last_ = point;
  lastTime_ = microseconds;
  velocity_ = {};
  pressed_ = root->hitTest(point);
  touch_ = ui::Touch::begin(*root, point);
}

void PointerInput::move(graphics::Point point, std::int64_t microseconds) {
  if (!pressing_) return;
  if (ui::Application::shared().isIgnoringInteractionEvents()) {
    touch_.cancel();
    pressing_ = false;
    return;
  }
  double dt = (microseconds - lastTime_) / 1e6;
  if (dt > 0) {
    // Smoothed, so that the speed at the lift is that of the last few moves.
    graphics::Point now{(point.x - last_.x) / dt, (point.y - last_.y) / dt};
    velocity_ = {0.6 * now.x + 0.4 * velocity_.x, 0.6 * now.y + 0.4 * velocity_.y};
  }
  // A view that moves something itself (a table row by its handle) keeps the drag.
  ui::View* target = touch_.target();
  const bool tracked = target && target->isTrackingTouch();
  if (!dragging_ && !tracked && std::hypot(point.x - start_.x, point.y - start_.y) > kTapSlop) {
    // The touch view may have gone since the press; find the scroll view afresh from the start.
    ui::View* root = root_();
    ui::View* under = root ? root->hitTest(start_) : nullptr;
    if (ui::ScrollView* sv = scrollViewFor(under, point.x - start_.x, point.y - start_.y)) {
      touch_.cancel();
      dragging_ = sv;
      draggingAlive_ = sv->weak_from_this();
      sv->beginDrag();
      sv->dragBy(point.x - start_.x, point.y - start_.y);
    }
  } else if (dragging_ && !draggingAlive_.expired()) {
    dragging_->dragBy(point.x - last_.x, point.y - last_.y);
  }
  if (!dragging_) touch_.moveTo(point);
  last_ = point;
  lastTime_ = microseconds;
}

void PointerInput::release(graphics::Point point, std::int64_t microseconds) {
  if (!pressing_) return;
  move(point, microseconds);
  pressing_ = false;
  if (dragging_) {
    if (!draggingAlive_.expired()) dragging_->endDrag(velocity_);
    dragging_ = nullptr;
    return;
  }
  touch_.end(point);
}

void PointerInput::wheel(graphics::Point point, double dx, double dy) {
  ui::View* root = root_();
  if (!root || ui::Application::shared().isIgnoringInteractionEvents()) return;
  ui::ScrollView* sv = scrollViewFor(root->hitTest(point), -dx, -dy);
  if (!sv) return;
  if (sv->isPagingEnabled()) {
    // A flick of a quarter page towards the next (or previous) page.
    const bool horizontal = canScroll(*sv, true);
    double step = (horizontal ? (dx != 0 ? dx : dy) : dy);
    if (step == 0) return;
    double sign = step > 0 ? -1 : 1;
    graphics::Size size = sv->bounds().size;
    sv->beginDrag();
    if (horizontal) {
      sv->dragBy(sign * size.width / 4, 0);
      sv->endDrag({sign * 1000, 0});
    } else {
      sv->dragBy(0, sign * size.height / 4);
      sv->endDrag({0, sign * 1000});
    }
    return;
  }
  graphics::Point max = sv->maximumContentOffset();
  graphics::Point offset = sv->contentOffset();
  offset.x = std::clamp(offset.x + dx * kWheelStep, 0.0, max.x);
  offset.y = std::clamp(offset.y + dy * kWheelStep, 0.0, max.y);
  sv->setContentOffset(offset, false);
}
