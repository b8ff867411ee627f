#pragma once
#include <memory>

#include "platform/graphics/Geometry.h"

namespace ui {

class View;

// One finger on the screen, from press to lift, as the shell reports it. The view under the
// finger (found by hit testing from `root`) and then its superviews are offered the touch; the
// first that accepts it follows the finger until it lifts. Points are in `root` coordinates.
// Touches are ignored while the application ignores interaction events.
class Touch {
 public:
  static Touch begin(View& root, graphics::Point point);
  Touch() = default;
  Touch(Touch&&) noexcept = default;
  Touch& operator=(Touch&&) noexcept = default;
  ~Touch();

  void moveTo(graphics::Point point);
  void end(graphics::Point point);
  void cancel();
  // Whether some view accepted the touch and it has not ended.
  bool active() const;
  // The view following the touch, or nullptr when none took it or it went away.
  View* target() const;

 private:
  std::weak_ptr<View> root_;
  View* unownedRoot_ = nullptr;  // a root not made by make_shared, for synchronous taps
  std::weak_ptr<View> target_;
  bool active_ = false;

  View* rootView() const;
};

// Presses and lifts at `point` (root coordinates): a button highlights and then runs its
// action. Returns whether a view accepted the tap.
bool tap(View& root, graphics::Point point);

}  // namespace ui
