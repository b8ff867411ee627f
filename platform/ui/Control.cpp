#include "platform/ui/Control.h"

namespace ui {

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled) highlighted_ = false;
  stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
  if (highlighted_ == highlighted) return;
  highlighted_ = highlighted;
  stateDidChange();
}

void Control::setSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  stateDidChange();
}

ControlState Control::state() const {
  if (!enabled_) return ControlState::Disabled;
  if (highlighted_) return ControlState::Highlighted;
  if (selected_) return ControlState::Selected;
  return ControlState::Normal;
}

void Control::addTarget(Action action) {
  if (action) actions_.push_back(std::move(action));
}

void Control::sendActionsForTouchUpInside() {
  // An action may rebuild the screen this control is on: keep the control and the list alive.
  auto keep = weak_from_this().lock();
  auto actions = actions_;
  for (auto& action : actions) action();
}

bool Control::touchBegan(graphics::Point) {
  // A disabled control swallows the touch instead of passing it to what lies below.
  if (!enabled_) return true;
  setHighlighted(true);
  return true;
}

void Control::touchMoved(graphics::Point point) {
  if (enabled_) setHighlighted(pointInside(point));
}

void Control::touchEnded(graphics::Point, bool inside) {
  if (!enabled_) return;
  setHighlighted(false);
  if (inside) sendActionsForTouchUpInside();
}

void Control::touchCancelled() {
  setHighlighted(false);
}

}  // namespace ui
