#include "platform/ui/Switch.h"

#include "platform/graphics/Painter.h"
#include "platform/ui/Animator.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {

constexpr Color kOnTrack = Color::rgb(0, 127, 234);
constexpr Color kOffTrack = Color::rgb(238, 238, 238);
constexpr Color kBorder = Color::rgb(160, 160, 160);
constexpr double kRadius = 6;

}  // namespace

Switch::Switch(Rect frame) : Control(Rect{frame.origin, kSize}) {
  knob_ = std::make_shared<View>(knobRestingFrame(false));
  knob_->setUserInteractionEnabled(false);
  addSubview(knob_);
}

Rect Switch::knobRestingFrame(bool on) const {
  return {on ? kSize.width - kKnobWidth : 0, 0, kKnobWidth, kSize.height};
}

Rect Switch::knobFrame() const {
  return knob_->frame();
}

void Switch::setOn(bool on, bool animated) {
  on_ = on;
  Rect target = knobRestingFrame(on);
  if (animated) {
    animate(kSlideSeconds, [this, target] { knob_->setFrame(target); });
  } else {
    knob_->setFrame(target);
  }
}

void Switch::addValueChangedAction(Action action) {
  if (action) valueChanged_.push_back(std::move(action));
}

void Switch::touchEnded(graphics::Point point, bool inside) {
  bool flips = isEnabled() && inside;
  Control::touchEnded(point, inside);
  if (!flips) return;
  setOn(!on_, true);
  auto keep = weak_from_this().lock();
  auto actions = valueChanged_;
  for (auto& action : actions) action();
}

void Switch::stateDidChange() {
  setAlpha(isEnabled() ? 1.0 : 0.5);
}

// The track shows blue with "ON" left of the knob and grey with "OFF" right of it; the knob
// covers the part of the track the slide has not uncovered yet.
void Switch::draw(graphics::Painter& painter) const {
  View::draw(painter);
  Rect b{0, 0, kSize.width, kSize.height};
  Rect knob = knob_->frame();
  painter.save();
  painter.clipToRect(b);
  painter.fillRoundedRect(b, kRadius, kOffTrack);
  painter.save();
  painter.clipToRect({0, 0, knob.x() + kKnobWidth / 2, kSize.height});
  painter.fillRoundedRect(b, kRadius, kOnTrack);
  painter.restore();
  graphics::TextStyle label;
  label.font = graphics::Font::boldSystem(16);
  label.alignment = graphics::TextAlignment::Center;
  label.verticalAlignment = graphics::VerticalAlignment::Center;
  label.color = Color::white();
  painter.drawText(
      "ON", {knob.x() - (kSize.width - kKnobWidth), 0, kSize.width - kKnobWidth, kSize.height},
      label);
  label.color = Color::rgb(122, 122, 122);
  painter.drawText("OFF", {knob.x() + kKnobWidth, 0, kSize.width - kKnobWidth, kSize.height},
                   label);
  painter.strokeRoundedRect(b, kRadius, kBorder);
  painter.fillVerticalGradient(knob, Color::rgb(252, 252, 252), Color::rgb(214, 214, 214), kRadius);
  painter.strokeRoundedRect(knob, kRadius, kBorder);
  painter.restore();
}

}  // namespace ui
