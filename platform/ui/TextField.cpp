#include "platform/ui/TextField.h"

#include <algorithm>

#include "platform/graphics/Painter.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {

const Color kPlaceholderColor{0.7, 0.7, 0.7, 1};
const Color kBorderColor{0.5, 0.5, 0.5, 1};
constexpr double kRoundedRadius = 7;

size_t characterCount(const std::string& utf8) {
  size_t count = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

TextField::TextField(Rect frame) : Control(frame), font_(graphics::Font::system(17)) {}

void TextField::editText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  auto keep = weak_from_this().lock();
  if (delegate_) delegate_->textFieldDidChange(*this);
}

bool TextField::returnKeyPressed() {
  auto keep = weak_from_this().lock();
  return delegate_ ? delegate_->textFieldShouldReturn(*this) : true;
}

std::string TextField::displayText() const {
  if (!secure_) return text_;
  std::string bullets;
  for (size_t i = characterCount(text_); i > 0; --i) bullets += kBullet;
  return bullets;
}

Rect TextField::textRect() const {
  double dx = 0, dy = 0;
  switch (borderStyle_) {
    case TextBorderStyle::None:
      break;
    case TextBorderStyle::Line:
    case TextBorderStyle::Bezel:
      dx = dy = 2;
      break;
    case TextBorderStyle::RoundedRect:
      dx = kRoundedRadius;
      dy = 2;
      break;
  }
  Rect b = bounds();
  return Rect{b.x() + dx, b.y() + dy, std::max(0.0, b.width() - 2 * dx),
              std::max(0.0, b.height() - 2 * dy)};
}

void TextField::touchEnded(graphics::Point point, bool inside) {
  auto keep = weak_from_this().lock();
  Control::touchEnded(point, inside);
  if (inside) becomeFirstResponder();
}

bool TextField::shouldBecomeFirstResponder() {
  return delegate_ ? delegate_->textFieldShouldBeginEditing(*this) : true;
}

void TextField::didBecomeFirstResponder() {
  if (delegate_) delegate_->textFieldDidBeginEditing(*this);
}

void TextField::didResignFirstResponder() {
  if (delegate_) delegate_->textFieldDidEndEditing(*this);
}

void TextField::draw(graphics::Painter& painter) const {
  Control::draw(painter);
  Rect b = bounds();
  switch (borderStyle_) {
    case TextBorderStyle::None:
      break;
    case TextBorderStyle::Line:
      painter.strokeRect(b, Color::black());
      break;
    case TextBorderStyle::Bezel:
      painter.strokeRect(b, kBorderColor, 2);
      break;
    case TextBorderStyle::RoundedRect:
      painter.fillRoundedRect(b, kRoundedRadius, Color::white());
      painter.strokeRoundedRect(b, kRoundedRadius, kBorderColor);
      break;
  }
  graphics::TextStyle style;
  style.font = font_;
  style.alignment = alignment_;
  style.lineBreakMode = graphics::LineBreakMode::TailTruncation;
  style.numberOfLines = 1;
  style.verticalAlignment = graphics::VerticalAlignment::Center;
  if (!text_.empty()) {
    style.color = textColor_;
    painter.drawText(displayText(), textRect(), style);
  } else if (!placeholder_.empty()) {
    style.color = kPlaceholderColor;
    painter.drawText(placeholder_, textRect(), style);
  }
}

}  // namespace ui
