#include "platform/ui/Touch.h"

#include "platform/ui/Application.h"
#include "platform/ui/View.h"

namespace ui {

Touch Touch::begin(View& root, graphics::Point point) {
  Touch touch;
  if (Application::shared().isIgnoringInteractionEvents()) return touch;
  touch.root_ = root.weak_from_this();
  if (touch.root_.expired()) touch.unownedRoot_ = &root;
  root.layoutIfNeeded();
  for (View* v = root.hitTest(point); v; v = v->superview()) {
    if (v->touchBegan(v->convertPointFromView(point, &root))) {
      touch.target_ = v->weak_from_this();
      touch.active_ = true;
      break;
    }
    if (v == &root) break;
  }
  return touch;
}

Touch::~Touch() {
  cancel();
}

View* Touch::rootView() const {
  if (auto root = root_.lock()) return root.get();
  return unownedRoot_;
}

View* Touch::target() const {
  if (!active_) return nullptr;
  auto target = target_.lock();
  return target ? target.get() : nullptr;
}

bool Touch::active() const {
  return target() != nullptr;
}

void Touch::moveTo(graphics::Point point) {
  View* root = rootView();
  auto target = target_.lock();
  if (!active_ || !target || !root) return;
  target->touchMoved(target->convertPointFromView(point, root));
}

void Touch::end(graphics::Point point) {
  View* root = rootView();
  auto target = target_.lock();
  bool wasActive = active_;
  active_ = false;
  if (!wasActive || !target || !root) return;
  graphics::Point local = target->convertPointFromView(point, root);
  bool inside = target->isDescendantOf(root) && target->pointInside(local);
  target->touchEnded(local, inside);
}

void Touch::cancel() {
  auto target = target_.lock();
  bool wasActive = active_;
  active_ = false;
  if (wasActive && target) target->touchCancelled();
}

bool tap(View& root, graphics::Point point) {
  Touch touch = Touch::begin(root, point);
  if (!touch.active()) return false;
  touch.end(point);
  return true;
}

}  // namespace ui
