#pragma once
#include <cairo.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace graphics {

class Image;
using ImagePtr = std::shared_ptr<const Image>;

// Decoded pixels with a scale: the size in points is the pixel size divided by the scale.
// Immutable once made, so it may be shared between threads; decoding is safe on any thread.
class Image {
 public:
  // Decodes JPEG, PNG or GIF bytes (the first frame of an animation). Returns nullptr, with a
  // log line, when the bytes are not an image it can decode.
  static ImagePtr fromData(std::string_view bytes, double scale = 1.0);
  static ImagePtr fromFile(const std::filesystem::path& path, double scale = 1.0);
  // An application resource: base::dataFile("images/" + name) at scale 2, decoded once and
  // kept for the life of the process. nullptr when missing or undecodable.
  static ImagePtr named(const std::string& name);
  // A plain image filled with one colour (drawings made in code, tests).
  static ImagePtr filled(Size points, const Color& color, double scale = 1.0);
  // A copy of the pixels of an ARGB32 or RGB24 Cairo image surface. nullptr for other kinds.
  static ImagePtr fromCairoSurface(cairo_surface_t* surface, double scale = 1.0);

  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  Size size() const;
  double scale() const { return scale_; }
  int pixelWidth() const;
  int pixelHeight() const;
  // The resource name for images made by named(), else empty.
  const std::string& name() const { return name_; }
  // The colour of one pixel (unpremultiplied); transparent outside the image.
  Color pixel(int x, int y) const;

  // JPEG at quality 0 (smallest) to 1 (best), and PNG. Empty on failure.
  std::string jpegData(double quality) const;
  std::string pngData() const;

  // The pixels as a premultiplied ARGB32 Cairo image surface (owned by the image).
  cairo_surface_t* cairoSurface() const { return surface_; }

 private:
  Image(cairo_surface_t* surface, double scale, std::string name);

  cairo_surface_t* surface_;
  double scale_;
  std::string name_;
};

}  // namespace graphics
