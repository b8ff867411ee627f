#pragma once

namespace graphics {

// An RGBA colour with components from 0 to 1.
struct Color {
  double red = 0, green = 0, blue = 0, alpha = 1;

  static constexpr Color rgb(int r, int g, int b, double a = 1.0) {
    return Color{r / 255.0, g / 255.0, b / 255.0, a};
  }
  static constexpr Color white() { return Color{1, 1, 1, 1}; }
  static constexpr Color black() { return Color{0, 0, 0, 1}; }
  static constexpr Color clear() { return Color{0, 0, 0, 0}; }
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

}  // namespace graphics
