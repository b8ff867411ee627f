#include "tests/app/gui/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {
int shiftOf(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}
}  // namespace

ScreenImage captureScreen(int x, int y, int width, int height) {
  ScreenImage out;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return out;
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image) {
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width * height));
    int rs = shiftOf(image->red_mask), gs = shiftOf(image->green_mask),
        bs = shiftOf(image->blue_mask);
    for (int j = 0; j < height; ++j) {
      for (int i = 0; i < width; ++i) {
        unsigned long p = XGetPixel(image, i, j);
        out.pixels[static_cast<size_t>(j * width + i)] = {
            static_cast<int>((p & image->red_mask) >> rs),
            static_cast<int>((p & image->green_mask) >> gs),
            static_cast<int>((p & image->blue_mask) >> bs)};
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return out;
}

void forgetAccessibilityBus() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  Atom bus = XInternAtom(display, "AT_SPI_BUS", True);
  if (bus != None) XDeleteProperty(display, DefaultRootWindow(display), bus);
  XCloseDisplay(display);
}
