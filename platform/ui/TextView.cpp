#include "platform/ui/TextView.h"

#include <algorithm>

#include "platform/graphics/Painter.h"
#include "platform/graphics/TextMeasurer.h"

namespace ui {

using graphics::Rect;

TextView::TextView(Rect frame) : ScrollView(frame), font_(graphics::Font::system(17)) {
  setBackgroundColor(graphics::Color::white());
  setShowsHorizontalScrollIndicator(false);
  updateContentSize();
}

void TextView::setText(std::string text) {
  text_ = std::move(text);
  updateContentSize();
}

void TextView::editText(std::string text) {
  if (text == text_) return;
  setText(std::move(text));
  auto keep = weak_from_this().lock();
  if (textDelegate_) textDelegate_->textViewDidChange(*this);
}

void TextView::setFont(const graphics::Font& font) {
  font_ = font;
  updateContentSize();
}

void TextView::setEditable(bool editable) {
  editable_ = editable;
  if (!editable) resignFirstResponder();
}

void TextView::updateContentSize() {
  const double width = bounds().width();
  const double textWidth = std::max(0.0, width - 2 * kTextInset);
  double height = 0;
  if (!text_.empty() && textWidth > 0) {
    height = graphics::TextMeasurer::current()
                 ->measure(text_, font_, {textWidth, 1e9}, graphics::LineBreakMode::WordWrap)
                 .height;
  }
  setContentSize({width, height + 2 * kTextInset});
}

void TextView::layoutSubviews() {
  ScrollView::layoutSubviews();
  updateContentSize();
}

bool TextView::touchBegan(graphics::Point point) {
  return editable_ || ScrollView::touchBegan(point);
}

void TextView::touchEnded(graphics::Point point, bool inside) {
  ScrollView::touchEnded(point, inside);
  if (inside) becomeFirstResponder();
}

bool TextView::shouldBecomeFirstResponder() {
  return textDelegate_ ? textDelegate_->textViewShouldBeginEditing(*this) : true;
}

void TextView::didBecomeFirstResponder() {
  if (textDelegate_) textDelegate_->textViewDidBeginEditing(*this);
}

void TextView::didResignFirstResponder() {
  if (textDelegate_) textDelegate_->textViewDidEndEditing(*this);
}

void TextView::draw(graphics::Painter& painter) const {
  ScrollView::draw(painter);
  if (text_.empty()) return;
  // Drawn in content coordinates: the bounds origin is the scroll offset.
  graphics::Size content = contentSize();
  Rect area{kTextInset, kTextInset, std::max(0.0, bounds().width() - 2 * kTextInset),
            std::max(0.0, content.height - 2 * kTextInset)};
  graphics::TextStyle style;
  style.font = font_;
  style.color = textColor_;
  style.alignment = alignment_;
  style.lineBreakMode = graphics::LineBreakMode::WordWrap;
  style.numberOfLines = 0;
  style.verticalAlignment = graphics::VerticalAlignment::Top;
  painter.drawText(text_, area, style);
}

}  // namespace ui
