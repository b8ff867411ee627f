#pragma once
#include <optional>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"

namespace graphics {

// How text that does not fit is broken or cut, in the device's order.
enum class LineBreakMode {
  WordWrap,
  CharacterWrap,
  Clip,
  HeadTruncation,
  TailTruncation,
  MiddleTruncation,
};

enum class TextAlignment { Left, Center, Right };

// Where the block of lines sits inside a taller rectangle.
enum class VerticalAlignment { Top, Center };

// A drop shadow under drawn text.
struct TextShadow {
  Color color;
  Size offset;
};

// Everything that decides how a text is drawn into a rectangle.
struct TextStyle {
  Font font = Font::system(17);
  Color color = Color::black();
  TextAlignment alignment = TextAlignment::Left;
  LineBreakMode lineBreakMode = LineBreakMode::TailTruncation;
  // Most lines shown; 0 means as many as fit in the rectangle.
  int numberOfLines = 1;
  VerticalAlignment verticalAlignment = VerticalAlignment::Top;
  std::optional<TextShadow> shadow;
  // When above 0 and the text is one line wider than the rectangle, the font shrinks down to
  // this size until it fits.
  double minimumFontSize = 0;
};

}  // namespace graphics
