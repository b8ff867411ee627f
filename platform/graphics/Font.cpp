#include "platform/graphics/Font.h"

#include <cstdio>
#include <string_view>

#include "platform/base/Strings.h"

namespace graphics {
namespace {

struct Face {
  const char* family;
  bool bold;
  bool italic;
};

struct NamedFace {
  std::string_view name;
  Face face;
};

constexpr const char* kSerif = "Liberation Serif";
constexpr const char* kSans = "Liberation Sans";
constexpr const char* kMono = "Liberation Mono";
// For symbols the Liberation faces lack, such as the check mark U+2713.
constexpr const char* kSymbols = "DejaVu Sans";

// PostScript and family names of the device's fonts, mapped to the metric-compatible Liberation
// faces. Matching is by exact name so that no fontconfig alias decides what is drawn.
constexpr NamedFace kFaces[] = {
    {"TimesNewRomanPSMT", {kSerif, false, false}},
    {"TimesNewRomanPS-BoldMT", {kSerif, true, false}},
    {"TimesNewRomanPS-ItalicMT", {kSerif, false, true}},
    {"TimesNewRomanPS-BoldItalicMT", {kSerif, true, true}},
    {"Times New Roman", {kSerif, false, false}},
    {"Times-Roman", {kSerif, false, false}},
    {"Times-Bold", {kSerif, true, false}},
    {"Times-Italic", {kSerif, false, true}},
    {"Times-BoldItalic", {kSerif, true, true}},
    {"Helvetica", {kSans, false, false}},
    {"Helvetica-Bold", {kSans, true, false}},
    {"Helvetica-Oblique", {kSans, false, true}},
    {"Helvetica-BoldOblique", {kSans, true, true}},
    {"HelveticaNeue", {kSans, false, false}},
    {"HelveticaNeue-Bold", {kSans, true, false}},
    {"Arial", {kSans, false, false}},
    {"ArialMT", {kSans, false, false}},
    {"Arial-BoldMT", {kSans, true, false}},
    {"Arial-ItalicMT", {kSans, false, true}},
    {"Arial-BoldItalicMT", {kSans, true, true}},
    {"Courier", {kMono, false, false}},
    {"Courier-Bold", {kMono, true, false}},
    {"CourierNewPSMT", {kMono, false, false}},
    {"CourierNewPS-BoldMT", {kMono, true, false}},
    {"DejaVuSans", {kSymbols, false, false}},
    {"DejaVuSans-Bold", {kSymbols, true, false}},
};

Face faceFor(const std::string& name) {
  for (const auto& f : kFaces) {
    if (f.name == name) return f.face;
  }
  return {kSans, false, false};
}

}  // namespace

Font::Font(std::string name, double size) : name_(std::move(name)), size_(size > 0 ? size : 0) {
  Face face = faceFor(name_);
  family_ = face.family;
  bold_ = face.bold;
  italic_ = face.italic;
}

Font Font::system(double size) {
  return Font("Helvetica", size);
}
Font Font::boldSystem(double size) {
  return Font("Helvetica-Bold", size);
}
Font Font::named(const std::string& name, double size) {
  return Font(name, size);
}
Font Font::withSize(double size) const {
  return Font(name_, size);
}

std::string Font::pangoDescription() const {
  std::string d = family_;
  if (bold_) d += " Bold";
  if (italic_) d += " Italic";
  char buf[32];
  std::snprintf(buf, sizeof buf, " %gpx", size_);
  return d + buf;
}

}  // namespace graphics
