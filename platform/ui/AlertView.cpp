#include "platform/ui/AlertView.h"

#include <cmath>

#include "platform/graphics/Painter.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {
constexpr double kButtonHeight = 43;
constexpr double kMargin = 12;
constexpr double kTitleHeight = 28;
constexpr double kMessageLineHeight = 20;
constexpr double kCharactersPerLine = 34;
}  // namespace

AlertView::AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
                     std::optional<std::string> cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles)
    : title_(std::move(title)), message_(std::move(message)), delegate_(delegate) {
  if (cancelButtonTitle) setCancelButtonIndex(addButtonWithTitle(std::move(*cancelButtonTitle)));
  for (const std::string& other : otherButtonTitles) addButtonWithTitle(other);
}

int AlertView::firstOtherButtonIndex() const {
  for (int i = 0; i < numberOfButtons(); ++i) {
    if (i != cancelButtonIndex()) return i;
  }
  return -1;
}

void AlertView::show() {
  present();
}

void AlertView::clicked(int index) {
  if (delegate_) delegate_->clickedButtonAtIndex(*this, index);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
  if (!isVisible()) return;
  auto keep = shared_from_this();
  if (delegate_) delegate_->willDismissWithButtonIndex(*this, index);
  withdraw();
  if (delegate_) delegate_->didDismissWithButtonIndex(*this, index);
}

void AlertView::forgetDelegate(const void* delegate) {
  if (delegate_ == delegate) delegate_ = nullptr;
}

void AlertView::layoutForScreen(graphics::Size screen) {
  // The message is laid out by the painter; its height is estimated from its length.
  double lines =
      std::max(1.0, std::ceil(static_cast<double>(message_.size()) / kCharactersPerLine));
  double textHeight = kTitleHeight + (message_.empty() ? 0 : lines * kMessageLineHeight);
  // Two buttons share a row; one, or three and more, get a row each.
  int n = numberOfButtons();
  int rows = n == 2 ? 1 : n;
  double height = kMargin + textHeight + kMargin + rows * (kButtonHeight + 7) + kMargin;
  setFrame(Rect{std::round((screen.width - kWidth) / 2), std::round((screen.height - height) / 2),
                kWidth, height});
  buttonRects_.clear();
  double y = kMargin + textHeight + kMargin;
  double inner = kWidth - 2 * kMargin;
  for (int i = 0; i < n; ++i) {
    if (n == 2) {
      double w = (inner - 8) / 2;
      buttonRects_.push_back(Rect{kMargin + i * (w + 8), y, w, kButtonHeight});
    } else {
      buttonRects_.push_back(Rect{kMargin, y + i * (kButtonHeight + 7), inner, kButtonHeight});
    }
  }
}

void AlertView::draw(graphics::Painter& painter) const {
  Rect b = bounds();
  painter.fillRoundedRect(b, 10, Color::rgb(24, 48, 100, 0.92));
  painter.strokeRoundedRect(b.insetBy(1, 1), 9, Color{1, 1, 1, 0.8}, 2);
  graphics::TextStyle style;
  style.color = Color::white();
  style.alignment = graphics::TextAlignment::Center;
  style.font = graphics::Font::boldSystem(18);
  painter.drawText(title_, Rect{kMargin, kMargin, b.width() - 2 * kMargin, kTitleHeight}, style);
  style.font = graphics::Font::system(16);
  style.numberOfLines = 0;
  style.lineBreakMode = graphics::LineBreakMode::WordWrap;
  double messageTop = kMargin + kTitleHeight;
  double messageBottom =
      buttonRects_.empty() ? b.height() - kMargin : buttonRects_[0].y() - kMargin;
  painter.drawText(message_,
                   Rect{kMargin, messageTop, b.width() - 2 * kMargin, messageBottom - messageTop},
                   style);
  style.font = graphics::Font::boldSystem(17);
  style.numberOfLines = 1;
  style.verticalAlignment = graphics::VerticalAlignment::Center;
  for (size_t i = 0; i < buttonRects_.size(); ++i) {
    bool cancel = static_cast<int>(i) == cancelButtonIndex();
    painter.fillRoundedRect(buttonRects_[i], 6,
                            cancel ? Color::rgb(70, 85, 120) : Color::rgb(100, 120, 160));
    painter.drawText(buttons()[i], buttonRects_[i], style);
  }
}

}  // namespace ui
