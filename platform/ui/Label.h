#pragma once
#include <string>

#include "platform/graphics/TextStyle.h"
#include "platform/ui/View.h"

namespace ui {

// Static text. Like the device's labels it starts with a white background, the system font of
// size 17, black text, one line cut at the tail, and takes no touches.
class Label : public View {
 public:
  explicit Label(graphics::Rect frame = {});

  std::string_view className() const override { return "Label"; }

  const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  const graphics::Font& font() const { return font_; }
  void setFont(const graphics::Font& font) { font_ = font; }
  const graphics::Color& textColor() const { return textColor_; }
  void setTextColor(const graphics::Color& color) { textColor_ = color; }
  graphics::TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(graphics::TextAlignment alignment) { alignment_ = alignment; }
  // 0 means as many lines as fit.
  int numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(int lines) { numberOfLines_ = lines < 0 ? 0 : lines; }
  graphics::LineBreakMode lineBreakMode() const { return lineBreakMode_; }
  void setLineBreakMode(graphics::LineBreakMode mode) { lineBreakMode_ = mode; }
  const graphics::Color* highlightedTextColor() const {
    return hasHighlightedColor_ ? &highlightedTextColor_ : nullptr;
  }
  void setHighlightedTextColor(const graphics::Color& color);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
  const graphics::Color* shadowColor() const { return hasShadow_ ? &shadowColor_ : nullptr; }
  void setShadowColor(const graphics::Color& color);
  graphics::Size shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(graphics::Size offset) { shadowOffset_ = offset; }
  bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
  void setAdjustsFontSizeToFitWidth(bool on) { adjustsFontSize_ = on; }
  double minimumFontSize() const { return minimumFontSize_; }
  void setMinimumFontSize(double size) { minimumFontSize_ = size; }

  // The style the text is drawn with in the current state.
  graphics::TextStyle textStyle() const;
  void draw(graphics::Painter& painter) const override;

 private:
  std::string text_;
  graphics::Font font_;
  graphics::Color textColor_ = graphics::Color::black();
  graphics::TextAlignment alignment_ = graphics::TextAlignment::Left;
  int numberOfLines_ = 1;
  graphics::LineBreakMode lineBreakMode_ = graphics::LineBreakMode::TailTruncation;
  graphics::Color highlightedTextColor_;
  bool hasHighlightedColor_ = false;
  bool highlighted_ = false;
  graphics::Color shadowColor_;
  bool hasShadow_ = false;
  graphics::Size shadowOffset_{0, -1};
  bool adjustsFontSize_ = false;
  double minimumFontSize_ = 0;
};

}  // namespace ui
