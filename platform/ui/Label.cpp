#include "platform/ui/Label.h"

#include "platform/graphics/Painter.h"

namespace ui {

Label::Label(graphics::Rect frame) : View(frame), font_(graphics::Font::system(17)) {
  setBackgroundColor(graphics::Color::white());
  setUserInteractionEnabled(false);
}

void Label::setHighlightedTextColor(const graphics::Color& color) {
  highlightedTextColor_ = color;
  hasHighlightedColor_ = true;
}

void Label::setShadowColor(const graphics::Color& color) {
  shadowColor_ = color;
  hasShadow_ = true;
}

graphics::TextStyle Label::textStyle() const {
  graphics::TextStyle style;
  style.font = font_;
  style.color = highlighted_ && hasHighlightedColor_ ? highlightedTextColor_ : textColor_;
  style.alignment = alignment_;
  style.lineBreakMode = lineBreakMode_;
  style.numberOfLines = numberOfLines_;
  // Labels centre their lines vertically, as on the device.
  style.verticalAlignment = graphics::VerticalAlignment::Center;
  if (hasShadow_) style.shadow = graphics::TextShadow{shadowColor_, shadowOffset_};
  if (adjustsFontSize_ && numberOfLines_ == 1) style.minimumFontSize = minimumFontSize_;
  return style;
}

void Label::draw(graphics::Painter& painter) const {
  View::draw(painter);
  if (!text_.empty()) painter.drawText(text_, bounds(), textStyle());
}

}  // namespace ui
