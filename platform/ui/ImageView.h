#pragma once
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace ui {

// Shows an image in its bounds by its content mode (scale to fill unless set); the highlighted
// image while highlighted. Takes no touches unless enabled.
class ImageView : public View {
 public:
  explicit ImageView(graphics::Rect frame = {});
  // Sized to the image, at the origin.
  explicit ImageView(graphics::ImagePtr image);

  std::string_view className() const override { return "ImageView"; }

  const graphics::ImagePtr& image() const { return image_; }
  void setImage(graphics::ImagePtr image) { image_ = std::move(image); }
  const graphics::ImagePtr& highlightedImage() const { return highlightedImage_; }
  void setHighlightedImage(graphics::ImagePtr image) { highlightedImage_ = std::move(image); }
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
  // The image drawn now.
  const graphics::ImagePtr& shownImage() const;

  void draw(graphics::Painter& painter) const override;

 private:
  graphics::ImagePtr image_;
  graphics::ImagePtr highlightedImage_;
  bool highlighted_ = false;
};

}  // namespace ui
