#pragma once
#include <memory>
#include <string>

#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextStyle.h"

namespace graphics {

// Measures text as it will be drawn. Sizes are in points, rounded up to whole points.
// Implementations are thread-safe.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;

  // Wraps `text` at `constraint.width` (by words; by characters for CharacterWrap) and returns
  // the widest line and the height of the whole lines that fit in `constraint.height` — at
  // least one line. Truncation modes still wrap; the last fitting line is the cut one.
  virtual Size measure(const std::string& text, const Font& font, Size constraint,
                       LineBreakMode mode) const = 0;
  // One line, never wrapped: the width is at most `width` (the text cut by `mode`) and the
  // height is one line.
  virtual Size measureLine(const std::string& text, const Font& font, double width,
                           LineBreakMode mode) const = 0;
  // How many lines `text` takes when wrapped at `width`, without a height limit.
  virtual int lineCount(const std::string& text, const Font& font, double width,
                        LineBreakMode mode) const = 0;
  // The height of one line of `font`.
  virtual double lineHeight(const Font& font) const = 0;

  // The measurer the screens use: the Pango one unless replaced (tests install fixed metrics).
  static std::shared_ptr<const TextMeasurer> current();
  // Replaces the current measurer; nullptr restores the Pango one. Returns the previous one.
  static std::shared_ptr<const TextMeasurer> setCurrent(std::shared_ptr<const TextMeasurer> m);
};

}  // namespace graphics
