#include "platform/graphics/OffscreenSurface.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Log.h"

namespace graphics {

OffscreenSurface::OffscreenSurface(Size size, double scale)
    : size_(size), scale_(scale > 0 ? scale : 1) {
  int w = std::max(1, static_cast<int>(std::ceil(size.width * scale_)));
  int h = std::max(1, static_cast<int>(std::ceil(size.height * scale_)));
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cr_ = cairo_create(surface_);
  cairo_scale(cr_, scale_, scale_);
}

OffscreenSurface::~OffscreenSurface() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

int OffscreenSurface::pixelWidth() const {
  return cairo_image_surface_get_width(surface_);
}
int OffscreenSurface::pixelHeight() const {
  return cairo_image_surface_get_height(surface_);
}

Color OffscreenSurface::colorAt(Point p) const {
  cairo_surface_flush(surface_);
  int x = static_cast<int>(std::floor(p.x * scale_)),
      y = static_cast<int>(std::floor(p.y * scale_));
  if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) return Color::clear();
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  uint32_t px = reinterpret_cast<const uint32_t*>(
      data + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_))[x];
  double a = (px >> 24) / 255.0;
  if (a == 0) return Color::clear();
  auto channel = [&](int shift) { return ((px >> shift) & 0xff) / 255.0 / a; };
  return Color{channel(16), channel(8), channel(0), a};
}

bool OffscreenSurface::writePng(const std::filesystem::path& path) const {
  cairo_surface_flush(surface_);
  cairo_status_t status = cairo_surface_write_to_png(surface_, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    base::log("PNG not written: " + path.string() + ": " + cairo_status_to_string(status));
    return false;
  }
  return true;
}

ImagePtr OffscreenSurface::snapshot() const {
  return Image::fromCairoSurface(surface_, scale_);
}

}  // namespace graphics
