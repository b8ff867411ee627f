#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Control.h"

namespace ui {

// An on/off switch of 94 × 27 points (it is made with that size at the given origin). A tap
// flips it, sliding the knob over 0.2 seconds, and runs its value-changed actions; setting the
// value in code runs none. A disabled switch, or one with user interaction off, ignores taps
// (the latter lets them through to the view below, such as its table row).
class Switch : public Control {
 public:
  static constexpr graphics::Size kSize{94, 27};
  static constexpr double kKnobWidth = 40;
  static constexpr double kSlideSeconds = 0.2;

  explicit Switch(graphics::Rect frame = {});

  std::string_view className() const override { return "Switch"; }

  bool isOn() const { return on_; }
  void setOn(bool on, bool animated = false);

  // Runs after the user flipped the switch, in the order added.
  void addValueChangedAction(Action action);

  void touchEnded(graphics::Point point, bool inside) override;
  void draw(graphics::Painter& painter) const override;

  // Where the knob is now (it moves while sliding), in bounds coordinates.
  graphics::Rect knobFrame() const;

 protected:
  void stateDidChange() override;

 private:
  graphics::Rect knobRestingFrame(bool on) const;

  bool on_ = false;
  // A clear view at the knob's place: its frame carries the slide through the view animations.
  std::shared_ptr<View> knob_;
  std::vector<Action> valueChanged_;
};

}  // namespace ui
