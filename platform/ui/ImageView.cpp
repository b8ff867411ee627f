#include "platform/ui/ImageView.h"

#include "platform/graphics/Painter.h"

namespace ui {

ImageView::ImageView(graphics::Rect frame) : View(frame) {
  setUserInteractionEnabled(false);
}

ImageView::ImageView(graphics::ImagePtr image)
    : ImageView(graphics::Rect{{0, 0}, image ? image->size() : graphics::Size{}}) {
  image_ = std::move(image);
}

const graphics::ImagePtr& ImageView::shownImage() const {
  return highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
}

void ImageView::draw(graphics::Painter& painter) const {
  View::draw(painter);
  if (const auto& image = shownImage()) painter.drawImage(*image, bounds(), contentMode());
}

}  // namespace ui
