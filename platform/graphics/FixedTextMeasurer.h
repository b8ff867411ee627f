#pragma once
#include "platform/graphics/TextMeasurer.h"

namespace graphics {

// Exact, font-independent metrics for tests: every character (UTF-8 code point) is
// `advance` × the point size wide and every line `lineHeight` × the point size high, both
// rounded up to whole points per line. Wrapping breaks at spaces (anywhere for CharacterWrap,
// and inside a word longer than the width).
class FixedTextMeasurer : public TextMeasurer {
 public:
  explicit FixedTextMeasurer(double advance = 0.5, double lineHeight = 1.2)
      : advance_(advance), lineHeight_(lineHeight) {}

  Size measure(const std::string& text, const Font& font, Size constraint,
               LineBreakMode mode) const override;
  Size measureLine(const std::string& text, const Font& font, double width,
                   LineBreakMode mode) const override;
  int lineCount(const std::string& text, const Font& font, double width,
                LineBreakMode mode) const override;
  double lineHeight(const Font& font) const override;

 private:
  double advance_;
  double lineHeight_;
};

}  // namespace graphics
