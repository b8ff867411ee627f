#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animator.h"

namespace ui {

using graphics::Point;
using graphics::Rect;

namespace {
constexpr double kScrollAnimation = 0.3;
// A fling faster than this (points per second) turns the page even when the drag was short.
constexpr double kPageFlingSpeed = 300;
// How far, in seconds of travel at the release speed, a free fling glides on.
constexpr double kGlideTime = 0.3;
}  // namespace

ScrollView::ScrollView(Rect frame) : View(frame) {
  setClipsToBounds(true);
}

ScrollView::~ScrollView() = default;

Point ScrollView::maximumContentOffset() const {
  Rect b = bounds();
  return {std::max(0.0, contentSize_.width - b.width()),
          std::max(0.0, contentSize_.height - b.height())};
}

Point ScrollView::clampedOffset(Point offset) const {
  Point max = maximumContentOffset();
  return {std::clamp(offset.x, 0.0, max.x), std::clamp(offset.y, 0.0, max.y)};
}

void ScrollView::setContentOffset(Point offset, bool animated) {
  if (!animated) {
    setBounds(Rect{offset, bounds().size});
    return;
  }
  animate(
      kScrollAnimation,
      [this, offset] {
        setBounds(Rect{offset, bounds().size});
      },
      [this](bool finished) {
        if (finished && delegate_) delegate_->scrollViewDidEndScrollingAnimation(*this);
      });
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
  Rect b = bounds();
  Point offset = b.origin;
  // Move each axis the least distance that brings the rectangle in; a rectangle larger than
  // the bounds aligns its leading edge.
  if (rect.maxX() > b.maxX()) offset.x = rect.maxX() - b.width();
  if (rect.minX() < offset.x) offset.x = rect.minX();
  if (rect.maxY() > b.maxY()) offset.y = rect.maxY() - b.height();
  if (rect.minY() < offset.y) offset.y = rect.minY();
  offset = clampedOffset(offset);
  if (offset == b.origin) return;
  setContentOffset(offset, animated);
}

void ScrollView::boundsOriginDidChange() {
  if (delegate_) delegate_->scrollViewDidScroll(*this);
}

void ScrollView::beginDrag() {
  if (!scrollEnabled_) return;
  cancelAnimationsIfDecelerating();
  dragging_ = true;
  dragStartOffset_ = contentOffset();
  if (delegate_) delegate_->scrollViewWillBeginDragging(*this);
}

void ScrollView::cancelAnimationsIfDecelerating() {
  if (!decelerating_) return;
  decelerating_ = false;
  Animator::shared().cancelAnimations(*this);
}

void ScrollView::dragBy(double dx, double dy) {
  if (!dragging_) return;
  Point offset = contentOffset();
  Point max = maximumContentOffset();
  auto move = [this](double value, double delta, double limit) {
    double next = value - delta;
    bool outside = next < 0 || next > limit;
    if (!outside) return next;
    if (!bounces_) return std::clamp(next, 0.0, limit);
    return value - delta / 2;  // resistance past the edge
  };
  // An axis whose content fits in the view does not move.
  double nx = contentSize_.width > bounds().width() ? move(offset.x, dx, max.x) : offset.x;
  double ny = contentSize_.height > bounds().height() ? move(offset.y, dy, max.y) : offset.y;
  setContentOffset({nx, ny});
}

Point ScrollView::restingOffset(Point velocity) const {
  Point offset = contentOffset();
  Rect b = bounds();
  if (pagingEnabled_) {
    auto page = [](double value, double start, double size, double speed) {
      if (size <= 0) return value;
      double startPage = std::round(start / size);
      double target = std::round(value / size);
      // A quick flick turns one page from where the drag began, in the flick's direction.
      if (speed < -kPageFlingSpeed) target = std::max(target, startPage + 1);
      if (speed > kPageFlingSpeed) target = std::min(target, startPage - 1);
      return target * size;
    };
    offset = {page(offset.x, dragStartOffset_.x, b.width(), velocity.x),
              page(offset.y, dragStartOffset_.y, b.height(), velocity.y)};
  } else {
    offset = {offset.x - velocity.x * kGlideTime, offset.y - velocity.y * kGlideTime};
  }
  return clampedOffset(offset);
}

bool ScrollView::endDrag(Point velocity) {
  if (!dragging_) return false;
  dragging_ = false;
  Point target = restingOffset(velocity);
  bool decelerate = target != contentOffset();
  if (delegate_) delegate_->scrollViewDidEndDragging(*this, decelerate);
  if (!decelerate) return false;
  decelerating_ = true;
  animate(
      kScrollAnimation,
      [this, target] {
        setBounds(Rect{target, bounds().size});
      },
      [this](bool finished) {
        if (!finished || !decelerating_) return;
        decelerating_ = false;
        if (delegate_) delegate_->scrollViewDidEndDecelerating(*this);
      });
  return true;
}

}  // namespace ui
