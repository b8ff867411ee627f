#include "platform/ui/ActionSheet.h"

#include "platform/graphics/Painter.h"
#include "platform/ui/Toolbar.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {
constexpr double kButtonHeight = 44;
constexpr double kGap = 8;
constexpr double kMargin = 20;
constexpr double kTitleHeight = 30;
}  // namespace

ActionSheet::ActionSheet(std::string title, ActionSheetDelegate* delegate,
                         std::optional<std::string> cancelButtonTitle,
                         std::optional<std::string> destructiveButtonTitle,
                         const std::vector<std::string>& otherButtonTitles)
    : title_(std::move(title)), delegate_(delegate) {
  if (destructiveButtonTitle) {
    destructiveButtonIndex_ = addButtonWithTitle(std::move(*destructiveButtonTitle));
  }
  for (const std::string& other : otherButtonTitles) addButtonWithTitle(other);
  if (cancelButtonTitle) setCancelButtonIndex(addButtonWithTitle(std::move(*cancelButtonTitle)));
}

void ActionSheet::showInView(View& view) {
  shownFrom_ = &view;
  present();
}

void ActionSheet::showFromToolbar(Toolbar& toolbar) {
  showInView(toolbar);
}

void ActionSheet::clicked(int index) {
  if (delegate_) delegate_->clickedButtonAtIndex(*this, index);
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
  if (!isVisible()) return;
  auto keep = shared_from_this();
  if (delegate_) delegate_->willDismissWithButtonIndex(*this, index);
  withdraw();
  shownFrom_ = nullptr;
  if (delegate_) delegate_->didDismissWithButtonIndex(*this, index);
}

void ActionSheet::forgetDelegate(const void* delegate) {
  if (delegate_ == delegate) delegate_ = nullptr;
}

void ActionSheet::layoutForScreen(graphics::Size screen) {
  double y = kGap + (title_.empty() ? 0 : kTitleHeight);
  buttonRects_.clear();
  for (int i = 0; i < numberOfButtons(); ++i) {
    // The cancel button stands apart from the choices above it.
    if (i == cancelButtonIndex() && i > 0) y += kGap;
    buttonRects_.push_back(Rect{kMargin, y, screen.width - 2 * kMargin, kButtonHeight});
    y += kButtonHeight + kGap;
  }
  y += kGap;
  setFrame(Rect{0, screen.height - y, screen.width, y});
}

void ActionSheet::draw(graphics::Painter& painter) const {
  Rect b = bounds();
  painter.fillRect(b, Color::rgb(40, 40, 40, 0.85));
  graphics::TextStyle style;
  style.color = Color::white();
  style.alignment = graphics::TextAlignment::Center;
  style.verticalAlignment = graphics::VerticalAlignment::Center;
  style.font = graphics::Font::system(14);
  if (!title_.empty()) {
    painter.drawText(title_, Rect{kMargin, kGap, b.width() - 2 * kMargin, kTitleHeight}, style);
  }
  style.font = graphics::Font::boldSystem(19);
  for (size_t i = 0; i < buttonRects_.size(); ++i) {
    int index = static_cast<int>(i);
    Color fill = index == destructiveButtonIndex_ ? Color::rgb(200, 30, 30)
                 : index == cancelButtonIndex()   ? Color::rgb(60, 60, 60)
                                                  : Color::rgb(235, 235, 235);
    painter.fillRoundedRect(buttonRects_[i], 8, fill);
    style.color = index == destructiveButtonIndex_ || index == cancelButtonIndex() ? Color::white()
                                                                                   : Color::black();
    painter.drawText(buttons()[i], buttonRects_[i], style);
  }
}

}  // namespace ui
