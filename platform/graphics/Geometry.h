#pragma once
#include <algorithm>

namespace graphics {

// A position in points.
struct Point {
  double x = 0, y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// An extent in points.
struct Size {
  double width = 0, height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

// A rectangle in points: origin at the top-left corner, y grows downwards.
struct Rect {
  Point origin;
  Size size;

  constexpr Rect() = default;
  constexpr Rect(Point o, Size s) : origin(o), size(s) {}
  constexpr Rect(double x, double y, double width, double height)
      : origin{x, y}, size{width, height} {}

  constexpr double x() const { return origin.x; }
  constexpr double y() const { return origin.y; }
  constexpr double width() const { return size.width; }
  constexpr double height() const { return size.height; }
  constexpr double minX() const { return std::min(origin.x, origin.x + size.width); }
  constexpr double minY() const { return std::min(origin.y, origin.y + size.height); }
  constexpr double maxX() const { return std::max(origin.x, origin.x + size.width); }
  constexpr double maxY() const { return std::max(origin.y, origin.y + size.height); }
  constexpr double midX() const { return origin.x + size.width / 2; }
  constexpr double midY() const { return origin.y + size.height / 2; }
  constexpr Point center() const { return {midX(), midY()}; }

  // True when the rectangle covers no area.
  constexpr bool isEmpty() const { return size.width == 0 || size.height == 0; }
  // Points on the left and top edges are inside, those on the right and bottom edges are not.
  constexpr bool contains(Point p) const {
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
  }
  constexpr bool intersects(const Rect& r) const {
    return !isEmpty() && !r.isEmpty() && minX() < r.maxX() && r.minX() < maxX() &&
           minY() < r.maxY() && r.minY() < maxY();
  }
  // The common part, or an empty rectangle at the origin when there is none.
  constexpr Rect intersection(const Rect& r) const {
    if (!intersects(r)) return Rect{};
    double x0 = std::max(minX(), r.minX()), y0 = std::max(minY(), r.minY());
    double x1 = std::min(maxX(), r.maxX()), y1 = std::min(maxY(), r.maxY());
    return Rect{x0, y0, x1 - x0, y1 - y0};
  }
  constexpr Rect offsetBy(double dx, double dy) const {
    return Rect{origin.x + dx, origin.y + dy, size.width, size.height};
  }
  // Shrinks by dx on the left and right and dy on the top and bottom (grows when negative).
  constexpr Rect insetBy(double dx, double dy) const {
    return Rect{origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy};
  }

  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace graphics
