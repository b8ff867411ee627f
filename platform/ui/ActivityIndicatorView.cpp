#include "platform/ui/ActivityIndicatorView.h"

#include <cmath>
#include <numbers>

#include "platform/graphics/Painter.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style) : style_(style) {
  double size = sizeForStyle(style);
  setFrame(Rect{0, 0, size, size});
  setUserInteractionEnabled(false);
  setHidden(true);
}

double ActivityIndicatorView::sizeForStyle(ActivityIndicatorViewStyle style) {
  return style == ActivityIndicatorViewStyle::WhiteLarge ? 37 : 20;
}

void ActivityIndicatorView::setStyle(ActivityIndicatorViewStyle style) {
  style_ = style;
  double size = sizeForStyle(style);
  graphics::Point c = center();
  setFrame(Rect{c.x - size / 2, c.y - size / 2, size, size});
}

void ActivityIndicatorView::startAnimating() {
  setHidden(false);
  if (animating_) return;
  animating_ = true;
  timer_ = base::Timer::repeating(kStepSeconds, [this] { phase_ = (phase_ + 1) % 12; });
}

void ActivityIndicatorView::stopAnimating() {
  animating_ = false;
  timer_.invalidate();
  if (hidesWhenStopped_) setHidden(true);
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
  hidesWhenStopped_ = hides;
  if (!animating_) setHidden(hides);
}

void ActivityIndicatorView::draw(graphics::Painter& painter) const {
  View::draw(painter);
  Rect b = bounds();
  graphics::Point c = b.center();
  double radius = b.width() / 2;
  Color base =
      style_ == ActivityIndicatorViewStyle::Gray ? Color::rgb(128, 128, 128) : Color::white();
  double width = style_ == ActivityIndicatorViewStyle::WhiteLarge ? 4 : 2;
  for (int i = 0; i < 12; ++i) {
    double angle = (i / 12.0) * 2 * std::numbers::pi - std::numbers::pi / 2;
    double dx = std::cos(angle), dy = std::sin(angle);
    Color spoke = base;
    // The brightest spoke leads; the ones behind it fade.
    spoke.alpha = 1.0 - ((phase_ - i + 12) % 12) / 12.0 * 0.8;
    painter.drawLine({c.x + dx * radius * 0.45, c.y + dy * radius * 0.45},
                     {c.x + dx * radius * 0.95, c.y + dy * radius * 0.95}, spoke, width);
  }
}

}  // namespace ui
