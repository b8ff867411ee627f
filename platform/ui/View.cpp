#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Log.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"

namespace ui {

using graphics::Point;
using graphics::Rect;

View::View(Rect frame) : frame_(frame) {}

View::~View() {
  Animator::shared().viewDestroyed(*this);
  for (auto& child : subviews_) child->superview_ = nullptr;
}

void View::setFrame(const Rect& frame) {
  Animator::shared().willChange(*this, Animator::Property::Frame);
  applyFrame(frame);
}

void View::applyFrame(const Rect& frame) {
  if (frame.size != frame_.size) needsLayout_ = true;
  frame_ = frame;
}

void View::setBounds(const Rect& bounds) {
  Point c = center();
  setFrame(
      Rect{c.x - bounds.width() / 2, c.y - bounds.height() / 2, bounds.width(), bounds.height()});
  if (bounds.origin != boundsOrigin_) {
    Animator::shared().willChange(*this, Animator::Property::BoundsOrigin);
    applyBoundsOrigin(bounds.origin);
  }
}

void View::applyBoundsOrigin(Point origin) {
  if (origin == boundsOrigin_) return;
  boundsOrigin_ = origin;
  boundsOriginDidChange();
}

void View::setCenter(Point center) {
  setFrame(Rect{center.x - frame_.width() / 2, center.y - frame_.height() / 2, frame_.width(),
                frame_.height()});
}

void View::setAlpha(double alpha) {
  Animator::shared().willChange(*this, Animator::Property::Alpha);
  alpha_ = std::clamp(alpha, 0.0, 1.0);
}

void View::setTransform(const Transform& transform) {
  Animator::shared().willChange(*this, Animator::Property::Transform);
  transform_ = transform;
}

View* View::viewWithTag(int tag) {
  if (tag_ == tag) return this;
  for (auto& child : subviews_) {
    if (View* found = child->viewWithTag(tag)) return found;
  }
  return nullptr;
}

bool View::isDescendantOf(const View* ancestor) const {
  for (const View* v = this; v; v = v->superview_) {
    if (v == ancestor) return true;
  }
  return false;
}

View* View::rootView() {
  View* v = this;
  while (v->superview_) v = v->superview_;
  return v;
}

void View::addSubview(std::shared_ptr<View> view) {
  insertSubview(std::move(view), SIZE_MAX);
}

void View::insertSubview(std::shared_ptr<View> view, size_t index) {
  if (!view) return;
  if (isDescendantOf(view.get())) {
    base::Log::write("View: refused to add a view into its own subtree");
    return;
  }
  if (view->superview_ == this) {
    // Moving within the same superview: take it out without telling anyone it left.
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    subviews_.erase(it);
    subviews_.insert(subviews_.begin() + std::min(index, subviews_.size()), view);
    return;
  }
  view->detachFromSuperview();
  subviews_.insert(subviews_.begin() + std::min(index, subviews_.size()), view);
  view->superview_ = this;
  view->didMoveToSuperview();
  didAddSubview(*view);
}

void View::detachFromSuperview() {
  View* parent = superview_;
  if (!parent) return;
  // The focus does not stay in a view that leaves the screen.
  if (View* focused = Application::shared().firstResponder();
      focused && (focused == this || focused->isDescendantOf(this))) {
    focused->resignFirstResponder();
  }
  parent->willRemoveSubview(*this);
  auto it = std::find_if(parent->subviews_.begin(), parent->subviews_.end(),
                         [this](const auto& v) { return v.get() == this; });
  // Keep this view alive until the end of the caller that still runs inside it.
  std::shared_ptr<View> keep = std::move(*it);
  parent->subviews_.erase(it);
  superview_ = nullptr;
  didMoveToSuperview();
}

bool View::becomeFirstResponder() {
  if (isFirstResponder()) return true;
  if (!canBecomeFirstResponder()) return false;
  // The delegates may drop the last other reference to this view.
  std::shared_ptr<View> keep = weak_from_this().lock();
  if (!keep || !shouldBecomeFirstResponder()) return false;
  if (View* previous = Application::shared().firstResponder()) previous->resignFirstResponder();
  Application::shared().firstResponder_ = keep;
  didBecomeFirstResponder();
  return true;
}

bool View::resignFirstResponder() {
  if (!isFirstResponder()) return true;
  std::shared_ptr<View> keep = weak_from_this().lock();
  Application::shared().firstResponder_.reset();
  didResignFirstResponder();
  return true;
}

bool View::isFirstResponder() const {
  return Application::shared().firstResponder() == this;
}

void View::removeFromSuperview() {
  if (!superview_) return;
  // The superview may hold the last reference: hold one until this call is done.
  std::shared_ptr<View> keep = weak_from_this().lock();
  detachFromSuperview();
}

void View::bringSubviewToFront(View* view) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(),
                         [view](const auto& v) { return v.get() == view; });
  if (it == subviews_.end()) return;
  std::rotate(it, it + 1, subviews_.end());
}

void View::layoutIfNeeded() {
  if (needsLayout_) {
    needsLayout_ = false;
    layoutSubviews();
  }
  // layoutSubviews may replace subviews; walk a snapshot.
  auto children = subviews_;
  for (auto& child : children) child->layoutIfNeeded();
}

bool View::pointInside(Point point) const {
  return bounds().contains(point);
}

View* View::hitTest(Point point) {
  if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01) return nullptr;
  if (!pointInside(point)) return nullptr;
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    if (View* hit = (*it)->hitTest((*it)->fromSuperview(point))) return hit;
  }
  return this;
}

Point View::toSuperview(Point p) const {
  double x = p.x - boundsOrigin_.x - frame_.width() / 2;
  double y = p.y - boundsOrigin_.y - frame_.height() / 2;
  if (!transform_.isIdentity()) {
    double c = std::cos(transform_.rotation), s = std::sin(transform_.rotation);
    double rx = (x * c - y * s) * transform_.scale;
    double ry = (x * s + y * c) * transform_.scale;
    x = rx;
    y = ry;
  }
  return {x + frame_.midX(), y + frame_.midY()};
}

Point View::fromSuperview(Point p) const {
  double x = p.x - frame_.midX();
  double y = p.y - frame_.midY();
  if (!transform_.isIdentity()) {
    if (transform_.scale == 0) return {NAN, NAN};
    double c = std::cos(transform_.rotation), s = std::sin(transform_.rotation);
    double ux = x / transform_.scale, uy = y / transform_.scale;
    x = ux * c + uy * s;
    y = -ux * s + uy * c;
  }
  return {x + frame_.width() / 2 + boundsOrigin_.x, y + frame_.height() / 2 + boundsOrigin_.y};
}

Point View::convertPointToView(Point point, const View* view) const {
  for (const View* v = this; v->superview_; v = v->superview_) point = v->toSuperview(point);
  if (!view) return point;
  std::vector<const View*> chain;
  for (const View* v = view; v->superview_; v = v->superview_) chain.push_back(v);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) point = (*it)->fromSuperview(point);
  return point;
}

Point View::convertPointFromView(Point point, const View* view) const {
  Point root = view ? view->convertPointToView(point, nullptr) : point;
  std::vector<const View*> chain;
  for (const View* v = this; v->superview_; v = v->superview_) chain.push_back(v);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) root = (*it)->fromSuperview(root);
  return root;
}

void View::draw(graphics::Painter& painter) const {
  if (backgroundColor_.alpha > 0) painter.fillRect(bounds(), backgroundColor_);
}

}  // namespace ui
