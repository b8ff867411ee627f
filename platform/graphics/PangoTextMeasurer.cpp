#include "platform/graphics/PangoTextMeasurer.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/PangoEngine.h"

namespace graphics {
namespace {

// Cached measurements beyond this count are dropped all at once; a screen's texts fit easily.
constexpr size_t kCacheLimit = 20000;

}  // namespace

PangoTextMeasurer::Entry PangoTextMeasurer::lookup(char kind, const std::string& text,
                                                   const Font& font, Size limit,
                                                   LineBreakMode mode) const {
  std::string key;
  key.reserve(text.size() + font.name().size() + 32);
  key.push_back(kind);
  key.push_back(static_cast<char>(mode));
  appendToKey(key, font.pointSize());
  appendToKey(key, limit.width);
  appendToKey(key, limit.height);
  key += font.name();
  key.push_back('\0');
  key += text;
  {
    std::lock_guard lock(mutex_);
    if (auto it = cache_.find(key); it != cache_.end()) {
      ++hits_;
      return it->second;
    }
  }

  Entry entry;
  {
    PangoEngine& engine = PangoEngine::shared();
    auto lock = engine.lock();
    if (kind == 'L') {
      // One line: no wrapping; truncation modes cut the text at the width.
      PangoLayout* layout = engine.createLayout(text, font, 0, mode);
      pango_layout_set_single_paragraph_mode(layout, TRUE);
      PangoEllipsizeMode ellipsize = pangoEllipsize(mode);
      if (ellipsize != PANGO_ELLIPSIZE_NONE && limit.width > 0) {
        pango_layout_set_width(layout, toPango(limit.width));
        pango_layout_set_ellipsize(layout, ellipsize);
      }
      PangoRectangle logical;
      pango_layout_get_extents(layout, nullptr, &logical);
      double width = std::ceil(fromPango(logical.width));
      if (limit.width > 0) width = std::min(width, limit.width);
      entry.size = {width, engine.lineHeight(font)};
      entry.lines = 1;
      g_object_unref(layout);
    } else {
      // Kept for the paint of the same text in the same box.
      PangoLayout* layout = engine.keptLayout(text, font, limit.width, mode);
      const double lineHeight = engine.lineHeight(font);
      const int lines = pango_layout_get_line_count(layout);
      // Whole lines only, and always the first one.
      double room = lineHeight > 0 ? std::floor(limit.height / lineHeight) : lines;
      int fit = std::isnan(room) ? 1 : static_cast<int>(std::clamp(room, 1.0, double(lines)));
      double widest = 0;
      for (int i = 0; i < fit; ++i) {
        PangoRectangle logical;
        pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, i), nullptr, &logical);
        widest = std::max(widest, fromPango(logical.width));
      }
      entry.size = {std::ceil(widest), fit * lineHeight};
      entry.lines = lines;
    }
  }

  std::lock_guard lock(mutex_);
  if (cache_.size() >= kCacheLimit) cache_.clear();
  cache_.emplace(std::move(key), entry);
  return entry;
}

Size PangoTextMeasurer::measure(const std::string& text, const Font& font, Size constraint,
                                LineBreakMode mode) const {
  if (text.empty()) return {};
  return lookup('M', text, font, constraint, mode).size;
}

Size PangoTextMeasurer::measureLine(const std::string& text, const Font& font, double width,
                                    LineBreakMode mode) const {
  if (text.empty()) return {};
  return lookup('L', text, font, {width, 0}, mode).size;
}

int PangoTextMeasurer::lineCount(const std::string& text, const Font& font, double width,
                                 LineBreakMode mode) const {
  if (text.empty()) return 0;
  return lookup('M', text, font, {width, 0}, mode).lines;
}

double PangoTextMeasurer::lineHeight(const Font& font) const {
  return lookup('M', "X", font, {0, 0}, LineBreakMode::Clip).size.height;
}

size_t PangoTextMeasurer::cacheSize() const {
  std::lock_guard lock(mutex_);
  return cache_.size();
}

size_t PangoTextMeasurer::cacheHits() const {
  std::lock_guard lock(mutex_);
  return hits_;
}

void PangoTextMeasurer::clearCache() {
  std::lock_guard lock(mutex_);
  cache_.clear();
  hits_ = 0;
}

}  // namespace graphics
