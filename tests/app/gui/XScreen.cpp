#include "tests/app/gui/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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
    // The tests' virtual display has 24-bit TrueColor: red, green, blue in the low three bytes.
    for (int j = 0; j < height; ++j) {
      for (int i = 0; i < width; ++i) {
        const unsigned long p = XGetPixel(image, i, j);
        out.pixels[static_cast<size_t>(j * width + i)] = {int(p >> 16 & 255), int(p >> 8 & 255),
                                                          int(p & 255)};
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
