#include "platform/ui/NavigationBar.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Painter.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/BarButton.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

NavigationBar::NavigationBar(Rect frame) : View(frame), titleLabel_(std::make_shared<Label>()) {
  titleLabel_->setBackgroundColor(Color::clear());
  titleLabel_->setFont(graphics::Font::boldSystem(20));
  titleLabel_->setTextColor(Color::white());
  titleLabel_->setShadowColor(Color{0, 0, 0, 0.5});
  titleLabel_->setTextAlignment(graphics::TextAlignment::Center);
  titleLabel_->setLineBreakMode(graphics::LineBreakMode::TailTruncation);
  titleLabel_->setUserInteractionEnabled(false);
  addSubview(titleLabel_);
}

NavigationBar::~NavigationBar() {
  if (item_) item_->bar_ = nullptr;
}

void NavigationBar::setItem(NavigationItem* item) {
  if (item_ == item) return;
  if (item_) item_->bar_ = nullptr;
  if (item && item->bar_) item->bar_->setItem(nullptr);
  item_ = item;
  if (item_) item_->bar_ = this;
  rebuild();
}

void NavigationBar::itemDestroyed(const NavigationItem* item) {
  if (item_ == item) {
    item_ = nullptr;
    rebuild();
  }
}

ViewPtr NavigationBar::viewFor(const BarButtonItemPtr& item) {
  if (!item) return nullptr;
  if (item->customView()) return item->customView();
  auto button = std::make_shared<BarButton>(item);
  item->button_ = button;
  return button;
}

void NavigationBar::rebuild() {
  for (ViewPtr* slot : {&leftView_, &rightView_}) {
    if (*slot && (*slot)->superview() == this) (*slot)->removeFromSuperview();
    slot->reset();
  }
  leftView_ = item_ ? viewFor(item_->leftBarButtonItem()) : nullptr;
  rightView_ = item_ ? viewFor(item_->rightBarButtonItem()) : nullptr;
  if (leftView_) addSubview(leftView_);
  if (rightView_) addSubview(rightView_);
  titleLabel_->setText(item_ ? item_->title() : "");
  setNeedsLayout();
  layoutIfNeeded();
}

void NavigationBar::layoutSubviews() {
  Rect b = bounds();
  double left = kMargin, right = b.width() - kMargin;
  if (leftView_) {
    Rect f = leftView_->frame();
    leftView_->setFrame(
        {kMargin, std::round((b.height() - f.height()) / 2), f.width(), f.height()});
    left = leftView_->frame().maxX() + kMargin;
  }
  if (rightView_) {
    Rect f = rightView_->frame();
    rightView_->setFrame({b.width() - kMargin - f.width(),
                          std::round((b.height() - f.height()) / 2), f.width(), f.height()});
    right = rightView_->frame().minX() - kMargin;
  }
  double lineHeight = graphics::TextMeasurer::current()->lineHeight(titleLabel_->font());
  double y = std::round((b.height() - lineHeight) / 2);
  double natural = graphics::TextMeasurer::current()
                       ->measureLine(titleLabel_->text(), titleLabel_->font(), 1e6,
                                     graphics::LineBreakMode::Clip)
                       .width;
  double centre = b.width() / 2;
  double half = std::min(centre - left, right - centre);
  if (natural <= 2 * half) {
    titleLabel_->setFrame({std::round(centre - natural / 2), y, std::ceil(natural), lineHeight});
  } else {
    titleLabel_->setFrame({left, y, std::max(0.0, right - left), lineHeight});
  }
}

void NavigationBar::draw(graphics::Painter& painter) const {
  View::draw(painter);
  Rect b = bounds();
  if (style_ == BarStyle::Black) {
    painter.fillVerticalGradient(b, Color::rgb(72, 72, 72), Color::rgb(8, 8, 8));
  } else {
    painter.fillVerticalGradient(b, Color::rgb(176, 188, 205), Color::rgb(109, 132, 162));
  }
  painter.drawLine({0, b.height() - 0.5}, {b.width(), b.height() - 0.5}, Color::rgb(45, 45, 45));
}

}  // namespace ui
