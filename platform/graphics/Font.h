#pragma once
#include <string>

namespace graphics {

// A font by the name the screens use ("TimesNewRomanPS-BoldMT", "Helvetica-Bold", ...) and a size
// in points. The name maps to an installed metric-compatible family (Liberation Serif, Sans or
// Mono) with a weight and slant; unknown names fall back to Liberation Sans. "DejaVuSans" and
// "DejaVuSans-Bold" name DejaVu Sans, for symbols the Liberation faces lack.
class Font {
 public:
  // The device's system font is Helvetica; its bold face is Helvetica-Bold.
  static Font system(double size);
  static Font boldSystem(double size);
  static Font named(const std::string& name, double size);

  const std::string& name() const { return name_; }
  double pointSize() const { return size_; }
  // The installed family that draws this font, e.g. "Liberation Serif".
  const std::string& family() const { return family_; }
  bool bold() const { return bold_; }
  bool italic() const { return italic_; }
  // Same face at another size.
  Font withSize(double size) const;
  // A Pango font description string, e.g. "Liberation Serif Bold 20px" (1 px = 1 point).
  std::string pangoDescription() const;

  friend bool operator==(const Font& a, const Font& b) {
    return a.name_ == b.name_ && a.size_ == b.size_;
  }

 private:
  Font(std::string name, double size);

  std::string name_;
  double size_;
  std::string family_;
  bool bold_ = false;
  bool italic_ = false;
};

}  // namespace graphics
