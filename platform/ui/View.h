#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/ContentMode.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Transform.h"

namespace graphics {
class Painter;
}

namespace ui {

class ViewController;
class Animator;

// A rectangle of the view tree. A view owns its subviews (drawn in order, the last on top) and
// knows its superview without owning it. The frame is in the superview's coordinates; the
// bounds are the view's own coordinates, whose origin is the scroll offset of a scroll view.
// Setting frame, bounds origin, alpha or transform inside ui::animate animates the change.
// Views are made with std::make_shared: the tree, touches and animations rely on it.
class View : public std::enable_shared_from_this<View> {
 public:
  explicit View(graphics::Rect frame = {});
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // The class name shown in view-tree dumps ("View", "Button", ...).
  virtual std::string_view className() const { return "View"; }

  graphics::Rect frame() const { return frame_; }
  void setFrame(const graphics::Rect& frame);
  // Origin = scroll offset, size = frame size. Setting the size resizes the frame about its
  // centre.
  graphics::Rect bounds() const { return {boundsOrigin_, frame_.size}; }
  void setBounds(const graphics::Rect& bounds);
  graphics::Point center() const { return frame_.center(); }
  void setCenter(graphics::Point center);

  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  // This view or the first descendant, depth first in subview order, whose tag is `tag`.
  View* viewWithTag(int tag);

  View* superview() const { return superview_; }
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  // Adds `view` on top; a view already in a tree leaves its old superview first.
  void addSubview(std::shared_ptr<View> view);
  // Inserts at `index` (clamped to the number of subviews).
  void insertSubview(std::shared_ptr<View> view, size_t index);
  void removeFromSuperview();
  void bringSubviewToFront(View* view);
  bool isDescendantOf(const View* ancestor) const;
  // The root of the tree this view is in (itself when it has no superview).
  View* rootView();

  // The controller whose view this is, if any (not owned).
  ViewController* viewController() const { return controller_; }

  const graphics::Color& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const graphics::Color& color) { backgroundColor_ = color; }
  double alpha() const { return alpha_; }
  void setAlpha(double alpha);
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) { hidden_ = hidden; }
  bool clipsToBounds() const { return clipsToBounds_; }
  void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }
  graphics::ContentMode contentMode() const { return contentMode_; }
  void setContentMode(graphics::ContentMode mode) { contentMode_ = mode; }
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
  void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
  const Transform& transform() const { return transform_; }
  void setTransform(const Transform& transform);

  // Marks the view for layoutSubviews at the next layoutIfNeeded (a size change does this).
  void setNeedsLayout() { needsLayout_ = true; }
  // Runs layoutSubviews on this view and its descendants that need it, top down.
  void layoutIfNeeded();

  // The deepest visible, interaction-enabled view at `point` (in this view's bounds
  // coordinates), searching the topmost subviews first; nullptr when the point is outside.
  virtual View* hitTest(graphics::Point point);
  // Whether `point` (bounds coordinates) lies inside this view.
  virtual bool pointInside(graphics::Point point) const;
  // Converts a point between this view's bounds coordinates and the given view's (nullptr:
  // the root of the tree). Both views must be in the same tree.
  graphics::Point convertPointToView(graphics::Point point, const View* view) const;
  graphics::Point convertPointFromView(graphics::Point point, const View* view) const;

  // Touches, in this view's bounds coordinates. The view under the finger is offered the touch
  // first, then its superviews; the first that accepts it (touchBegan returns true) receives the
  // rest of that touch. `inside` tells whether the finger lifted inside this view.
  virtual bool touchBegan(graphics::Point /*point*/) { return false; }
  virtual void touchMoved(graphics::Point /*point*/) {}
  virtual void touchEnded(graphics::Point /*point*/, bool /*inside*/) {}
  virtual void touchCancelled() {}
  // Whether the touch this view follows moves something of its own (a row being dragged), so
  // that the finger's moves go to it rather than scroll an enclosing scroll view.
  virtual bool isTrackingTouch() const { return false; }

  // Draws this view's own content (not its subviews) in bounds() coordinates: the background
  // colour here; subclasses draw theirs after calling this. The renderer applies the frame,
  // transform, alpha and clipping and draws the subviews.
  virtual void draw(graphics::Painter& painter) const;

  // Keyboard focus. At most one view of the application is the first responder, the one typed
  // into; the shell reads it from Application::firstResponder(). Becoming it first resigns the
  // view that held it. A view that leaves the tree, or whose ancestor does, resigns it.
  virtual bool canBecomeFirstResponder() const { return false; }
  // False when the view cannot or will not take the focus.
  bool becomeFirstResponder();
  bool resignFirstResponder();
  bool isFirstResponder() const;

 protected:
  // Asked before this view takes the focus (text views ask their delegates); true by default.
  virtual bool shouldBecomeFirstResponder() { return true; }
  // Called after this view took the focus, and after it lost it.
  virtual void didBecomeFirstResponder() {}
  virtual void didResignFirstResponder() {}
  // Lays the subviews out after a size change; nothing by default.
  virtual void layoutSubviews() {}
  // Called whenever the bounds origin changed, animation steps included.
  virtual void boundsOriginDidChange() {}
  // Called after the view joined or left a superview.
  virtual void didMoveToSuperview() {}
  // Called after `subview` was added to this view, and before one is removed.
  virtual void didAddSubview(View& /*subview*/) {}
  virtual void willRemoveSubview(View& /*subview*/) {}

 private:
  friend class ViewController;
  friend class Animator;

  // The point of the superview's coordinates that `point` of this view's bounds maps to.
  graphics::Point toSuperview(graphics::Point point) const;
  graphics::Point fromSuperview(graphics::Point point) const;
  void applyFrame(const graphics::Rect& frame);
  void applyBoundsOrigin(graphics::Point origin);
  void detachFromSuperview();

  graphics::Rect frame_;
  graphics::Point boundsOrigin_;
  int tag_ = 0;
  View* superview_ = nullptr;
  std::vector<std::shared_ptr<View>> subviews_;
  ViewController* controller_ = nullptr;
  graphics::Color backgroundColor_ = graphics::Color::clear();
  double alpha_ = 1;
  bool hidden_ = false;
  bool clipsToBounds_ = false;
  graphics::ContentMode contentMode_ = graphics::ContentMode::ScaleToFill;
  bool userInteractionEnabled_ = true;
  bool multipleTouchEnabled_ = false;
  bool needsLayout_ = true;
  Transform transform_;
};

using ViewPtr = std::shared_ptr<View>;

}  // namespace ui
