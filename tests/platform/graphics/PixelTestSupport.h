#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>

#include "platform/graphics/Color.h"

namespace testing_support {

// Whether two colours agree within `tolerance` in every channel.
inline bool near(const graphics::Color& a, const graphics::Color& b, double tolerance = 0.05) {
  return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
         std::abs(a.blue - b.blue) <= tolerance && std::abs(a.alpha - b.alpha) <= tolerance;
}

// A point of a picture and the colour expected there.
struct Pixel {
  double x, y;
  graphics::Color color;
};

// Checks every point against the colour `at` reads there, naming those that differ.
inline void expectPixels(const std::function<graphics::Color(double, double)>& at,
                         std::initializer_list<Pixel> pixels, double tolerance = 0.05) {
  for (const Pixel& p : pixels) {
    graphics::Color c = at(p.x, p.y);
    EXPECT_TRUE(near(c, p.color, tolerance)) << "at (" << p.x << ", " << p.y << "): " << c.red
                                             << " " << c.green << " " << c.blue << " " << c.alpha;
  }
}

}  // namespace testing_support
