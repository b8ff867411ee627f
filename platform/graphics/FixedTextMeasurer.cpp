#include "platform/graphics/FixedTextMeasurer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace graphics {
namespace {

// The text as code points, one std::string each (enough to count and to find spaces).
std::vector<std::string> codePoints(const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    n = std::min(n, text.size() - i);
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

// Line lengths in characters after wrapping at `capacity` characters (0 = unlimited).
std::vector<size_t> wrap(const std::string& text, size_t capacity, bool byCharacter) {
  std::vector<size_t> lines;
  std::vector<std::vector<std::string>> paragraphs(1);
  for (auto& cp : codePoints(text)) {
    if (cp == "\n") {
      paragraphs.emplace_back();
    } else {
      paragraphs.back().push_back(std::move(cp));
    }
  }
  for (const auto& p : paragraphs) {
    if (capacity == 0 || p.size() <= capacity) {
      lines.push_back(p.size());
      continue;
    }
    size_t start = 0;
    while (start < p.size()) {
      size_t end = std::min(start + capacity, p.size());
      if (!byCharacter && end < p.size() && p[end] != " ") {
        // Break after the last space of the line when there is one.
        size_t space = end;
        while (space > start && p[space - 1] != " ") --space;
        if (space > start) end = space;
      }
      size_t shown = end;
      while (shown > start && p[shown - 1] == " ") --shown;
      lines.push_back(shown - start);
      start = end;
      while (start < p.size() && p[start] == " ") ++start;
    }
  }
  return lines;
}

}  // namespace

double FixedTextMeasurer::lineHeight(const Font& font) const {
  return std::ceil(lineHeight_ * font.pointSize());
}

Size FixedTextMeasurer::measure(const std::string& text, const Font& font, Size constraint,
                                LineBreakMode mode) const {
  if (text.empty()) return {};
  const double charWidth = advance_ * font.pointSize();
  size_t capacity = 0;
  if (constraint.width > 0 && charWidth > 0) {
    capacity = std::max<size_t>(1, static_cast<size_t>(std::floor(constraint.width / charWidth)));
  }
  auto lines = wrap(text, capacity, mode == LineBreakMode::CharacterWrap);
  const double lh = lineHeight(font);
  size_t fit = lh > 0 ? static_cast<size_t>(std::floor(constraint.height / lh)) : lines.size();
  fit = std::clamp<size_t>(fit, 1, lines.size());
  size_t widest = *std::max_element(lines.begin(), lines.begin() + fit);
  return {std::ceil(widest * charWidth), fit * lh};
}

Size FixedTextMeasurer::measureLine(const std::string& text, const Font& font, double width,
                                    LineBreakMode) const {
  if (text.empty()) return {};
  double natural = std::ceil(codePoints(text).size() * advance_ * font.pointSize());
  return {width > 0 ? std::min(natural, width) : natural, lineHeight(font)};
}

int FixedTextMeasurer::lineCount(const std::string& text, const Font& font, double width,
                                 LineBreakMode mode) const {
  if (text.empty()) return 0;
  const double charWidth = advance_ * font.pointSize();
  size_t capacity = 0;
  if (width > 0 && charWidth > 0) {
    capacity = std::max<size_t>(1, static_cast<size_t>(std::floor(width / charWidth)));
  }
  return static_cast<int>(wrap(text, capacity, mode == LineBreakMode::CharacterWrap).size());
}

}  // namespace graphics
