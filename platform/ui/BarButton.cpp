#include "platform/ui/BarButton.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Painter.h"
#include "platform/graphics/TextMeasurer.h"

namespace ui {

using graphics::Color;

namespace {

constexpr double kPadding = 10;
constexpr double kRadius = 5;

graphics::Font titleFont() {
  return graphics::Font::boldSystem(12);
}

}  // namespace

BarButton::BarButton(std::shared_ptr<BarButtonItem> item) : item_(std::move(item)) {
  setEnabled(item_->isEnabled());
  addTarget([this] { item_->press(); });
  setFrame({0, 0, fittingWidth(), kHeight});
}

double BarButton::fittingWidth() const {
  graphics::Size text = graphics::TextMeasurer::current()->measureLine(
      item_->title(), titleFont(), 1e6, graphics::LineBreakMode::Clip);
  return std::max(kMinWidth, std::ceil(text.width) + 2 * kPadding);
}

void BarButton::draw(graphics::Painter& painter) const {
  View::draw(painter);
  graphics::Rect b = bounds();
  if (item_->style() != BarButtonItemStyle::Plain) {
    bool done = item_->style() == BarButtonItemStyle::Done;
    Color top = done ? Color::rgb(100, 150, 235) : Color{1, 1, 1, 0.25};
    Color bottom = done ? Color::rgb(34, 96, 210) : Color{0, 0, 0, 0.2};
    if (isHighlighted()) std::swap(top, bottom);
    painter.fillVerticalGradient(b, top, bottom, kRadius);
    painter.strokeRoundedRect(b, kRadius, Color{0, 0, 0, 0.45});
  }
  graphics::TextStyle style;
  style.font = titleFont();
  style.color = isEnabled() ? Color::white() : Color{1, 1, 1, 0.45};
  style.alignment = graphics::TextAlignment::Center;
  style.verticalAlignment = graphics::VerticalAlignment::Center;
  style.shadow = graphics::TextShadow{Color{0, 0, 0, 0.5}, {0, -1}};
  painter.drawText(item_->title(), b.insetBy(4, 0), style);
}

}  // namespace ui
