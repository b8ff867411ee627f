#pragma once
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/graphics/TextMeasurer.h"

namespace graphics {

// Measures with Pango at 72 units per inch (1 unit = 1 point) and the same font options the
// painter draws with. Results are cached by text, font, limits and mode: the screens measure the
// same strings on every rebuild. Thread-safe.
class PangoTextMeasurer : public TextMeasurer {
 public:
  Size measure(const std::string& text, const Font& font, Size constraint,
               LineBreakMode mode) const override;
  Size measureLine(const std::string& text, const Font& font, double width,
                   LineBreakMode mode) const override;
  int lineCount(const std::string& text, const Font& font, double width,
                LineBreakMode mode) const override;
  double lineHeight(const Font& font) const override;

  // Cached entries, and how many lookups were answered from the cache.
  size_t cacheSize() const;
  size_t cacheHits() const;
  void clearCache();

 private:
  struct Entry {
    Size size;
    int lines = 0;
  };
  Entry lookup(char kind, const std::string& text, const Font& font, Size limit,
               LineBreakMode mode) const;

  mutable std::mutex mutex_;
  mutable std::unordered_map<std::string, Entry> cache_;
  mutable size_t hits_ = 0;
};

}  // namespace graphics
