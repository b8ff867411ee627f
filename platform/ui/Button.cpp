#include "platform/ui/Button.h"

#include <algorithm>

#include "platform/graphics/Painter.h"

namespace ui {

using graphics::Rect;

namespace {
constexpr double kGlowDiameter = 40;
constexpr double kImageTitleGap = 0;
}  // namespace

Button::Button(Rect frame) : Control(frame), titleLabel_(std::make_shared<Label>()) {
  titleLabel_->setFont(graphics::Font::boldSystem(15));
  titleLabel_->setBackgroundColor(graphics::Color::clear());
  titleLabel_->setTextAlignment(graphics::TextAlignment::Center);
  titleLabel_->setLineBreakMode(graphics::LineBreakMode::MiddleTruncation);
}

template <typename T>
const T* Button::lookup(const std::map<ControlState, T>& values, ControlState state) {
  auto it = values.find(state);
  if (it == values.end()) it = values.find(ControlState::Normal);
  return it == values.end() ? nullptr : &it->second;
}

void Button::setImage(graphics::ImagePtr image, ControlState state) {
  images_[state] = std::move(image);
}

graphics::ImagePtr Button::image(ControlState state) const {
  auto found = lookup(images_, state);
  return found ? *found : nullptr;
}

void Button::setBackgroundImage(graphics::ImagePtr image, ControlState state) {
  backgroundImages_[state] = std::move(image);
}

graphics::ImagePtr Button::backgroundImage(ControlState state) const {
  auto found = lookup(backgroundImages_, state);
  return found ? *found : nullptr;
}

void Button::setTitle(std::string title, ControlState state) {
  titles_[state] = std::move(title);
}

std::string Button::title(ControlState state) const {
  auto found = lookup(titles_, state);
  return found ? *found : std::string();
}

void Button::setTitleColor(const graphics::Color& color, ControlState state) {
  titleColors_[state] = color;
}

graphics::Color Button::titleColor(ControlState state) const {
  auto found = lookup(titleColors_, state);
  return found ? *found : graphics::Color::white();
}

void Button::draw(graphics::Painter& painter) const {
  Control::draw(painter);
  Rect b = bounds();
  if (auto background = currentBackgroundImage()) painter.drawImage(*background, b);

  auto image = currentImage();
  std::string title = currentTitle();
  if (image && title.empty()) {
    // Shown at its own size, shrunk to fit when larger than the button.
    graphics::Size s = image->size();
    bool fits = s.width <= b.width() && s.height <= b.height();
    painter.drawImage(*image, b,
                      fits ? graphics::ContentMode::Center : graphics::ContentMode::ScaleAspectFit);
  } else if (!title.empty()) {
    Rect titleRect = b;
    if (image) {
      // Image on the left of the title, the pair centred.
      double imageWidth = std::min(image->size().width, b.width() / 2);
      Rect imageRect{b.x(), b.y(), imageWidth + kImageTitleGap, b.height()};
      painter.drawImage(*image, imageRect, graphics::ContentMode::Right);
      titleRect = Rect{b.x() + imageRect.width(), b.y(), b.width() - imageRect.width(), b.height()};
    }
    graphics::TextStyle style = titleLabel_->textStyle();
    style.color = currentTitleColor();
    painter.drawText(title, titleRect, style);
  }

  if (showsTouch_ && isHighlighted()) {
    Rect glow{b.midX() - kGlowDiameter / 2, b.midY() - kGlowDiameter / 2, kGlowDiameter,
              kGlowDiameter};
    painter.fillEllipse(glow, graphics::Color{1, 1, 1, 0.6});
  }
}

}  // namespace ui
