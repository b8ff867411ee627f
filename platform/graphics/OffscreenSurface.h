#pragma once
#include <cairo.h>

#include <filesystem>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace graphics {

// A transparent ARGB32 bitmap of `size` points at `scale` pixels per point (2 for HiDPI).
// Its context draws in points; a Painter over context() paints onto it.
class OffscreenSurface {
 public:
  OffscreenSurface(Size size, double scale = 1.0);
  ~OffscreenSurface();
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;

  cairo_t* context() const { return cr_; }
  Size size() const { return size_; }
  double scale() const { return scale_; }
  int pixelWidth() const;
  int pixelHeight() const;

  // The colour (unpremultiplied) of the pixel under the point `p` in points.
  Color colorAt(Point p) const;
  // Writes the pixels as a PNG file; false (with a log line) when it cannot.
  bool writePng(const std::filesystem::path& path) const;
  // The pixels so far, as an image at this surface's scale.
  ImagePtr snapshot() const;

 private:
  Size size_;
  double scale_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace graphics
