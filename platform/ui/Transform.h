#pragma once

namespace ui {

// A view's transform about its centre: a rotation (radians, clockwise on screen) and a uniform
// scale. The frame stays the untransformed one; drawing and hit testing apply the transform.
struct Transform {
  double rotation = 0;
  double scale = 1;

  static constexpr Transform identity() { return {}; }
  static constexpr Transform rotated(double radians) { return {radians, 1}; }
  static constexpr Transform scaled(double factor) { return {0, factor}; }
  constexpr bool isIdentity() const { return rotation == 0 && scale == 1; }
  friend constexpr bool operator==(const Transform&, const Transform&) = default;
};

}  // namespace ui
