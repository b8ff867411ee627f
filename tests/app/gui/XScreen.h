#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// What an X display shows: a rectangle of the root window read back with XGetImage, as RGB.
struct Rgb {
  int r = 0, g = 0, b = 0;
};

class ScreenImage {
 public:
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
  const Rgb& at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// Reads `width` × `height` pixels at (x, y) of the root window of $DISPLAY; empty on failure.
ScreenImage captureScreen(int x, int y, int width, int height);

// Forgets the accessibility bus a previous program left registered on the display: its socket
// may be gone with that program's temporary folder, and WebKit's sandbox fails to start when it
// is told to bind a missing path.
void forgetAccessibilityBus();
