#pragma once
#include <pango/pangocairo.h>

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/graphics/Font.h"
#include "platform/graphics/TextStyle.h"

namespace graphics {

// The one Pango font map and context that both measuring and drawing use, so that both lay
// text out with identical options: 72 units per inch, no hinting, grey antialiasing, unhinted
// metrics, unrounded glyph positions. Pango objects are not thread-safe, so every use happens
// under lock().
class PangoEngine {
 public:
  static PangoEngine& shared();

  std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }

  // A new layout of `text` in `font` (caller unrefs). Wraps at `width` points when above 0,
  // by characters for CharacterWrap and by words (characters inside over-long words) otherwise.
  // Call with the lock held.
  PangoLayout* createLayout(const std::string& text, const Font& font, double width,
                            LineBreakMode mode);
  // The layout createLayout makes, laid out, and kept for the next call with the same arguments:
  // a text measured and then painted is shaped once. The engine owns it (a caller keeping it
  // takes a reference) and it must stay as it is: a caller that changes it changes a copy. Call
  // with the lock held.
  PangoLayout* keptLayout(const std::string& text, const Font& font, double width,
                          LineBreakMode mode);
  // The distance between lines of `font`, rounded up to whole points; measuring and drawing
  // both space lines by it. Call with the lock held.
  double lineHeight(const Font& font);

 private:
  PangoEngine();

  std::mutex mutex_;
  PangoFontMap* fontMap_;
  PangoContext* context_;
  std::unordered_map<std::string, PangoLayout*> keptLayouts_;
  std::unordered_map<std::string, double> lineHeights_;
};

// Pango units to points and back.
inline double fromPango(int units) {
  return static_cast<double>(units) / PANGO_SCALE;
}
inline int toPango(double points) {
  return static_cast<int>(points * PANGO_SCALE);
}

// Appends the exact bytes of `v` to a cache key: equal keys, equal numbers.
inline void appendToKey(std::string& key, double v) {
  char bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  key.append(bytes, sizeof bytes);
}

// Where a line that does not fit is cut, the same for measuring and drawing.
inline PangoEllipsizeMode pangoEllipsize(LineBreakMode mode) {
  switch (mode) {
    case LineBreakMode::HeadTruncation:
      return PANGO_ELLIPSIZE_START;
    case LineBreakMode::MiddleTruncation:
      return PANGO_ELLIPSIZE_MIDDLE;
    case LineBreakMode::TailTruncation:
      return PANGO_ELLIPSIZE_END;
    default:
      return PANGO_ELLIPSIZE_NONE;
  }
}

}  // namespace graphics
