#include "platform/graphics/Image.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/base/DataDir.h"
#include "platform/base/Log.h"

namespace graphics {
namespace {

// Pictures larger than this are refused rather than decoded into gigabytes of memory.
constexpr long long kMaxPixels = 40LL * 1000 * 1000;
constexpr int kMaxSide = 16384;

// The gdk-pixbuf loader for the bytes, chosen by their signature: only the three formats the
// site serves are accepted, whatever other loaders the system has installed.
const char* formatOf(std::string_view bytes) {
  if (bytes.size() >= 8 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
    return "png";
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xff\xd8\xff") return "jpeg";
  if (bytes.size() >= 6 && (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a")) {
    return "gif";
  }
  return nullptr;
}

bool acceptable(long long width, long long height) {
  return width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

unsigned byteAt(std::string_view b, size_t i) {
  return static_cast<unsigned char>(b[i]);
}

// Checks the picture size the header declares before any decoder allocates for it (the
// loaders allocate the whole canvas as soon as they have read the header). Only the size
// fields are read; the decoding itself is gdk-pixbuf's.
bool declaredSizeAcceptable(std::string_view format, std::string_view b) {
  if (format == "png") {
    // The IHDR chunk comes first: width and height are big-endian at offsets 16 and 20.
    if (b.size() < 24) return true;
    auto be32 = [&](size_t i) {
      return (static_cast<long long>(byteAt(b, i)) << 24) | (byteAt(b, i + 1) << 16) |
             (byteAt(b, i + 2) << 8) | byteAt(b, i + 3);
    };
    return acceptable(be32(16), be32(20));
  }
  if (format == "gif") {
    // The logical screen size, little-endian, right after the signature.
    if (b.size() < 10) return true;
    return acceptable(byteAt(b, 6) | (byteAt(b, 7) << 8), byteAt(b, 8) | (byteAt(b, 9) << 8));
  }
  // JPEG: walk the markers to the first start-of-frame, which holds height and width.
  size_t i = 2;
  while (i + 4 <= b.size()) {
    if (byteAt(b, i) != 0xff) return true;  // not a marker: the decoder will report it
    unsigned marker = byteAt(b, i + 1);
    if (marker == 0xff) {
      ++i;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8)) {
      i += 2;
      continue;
    }
    size_t length = (byteAt(b, i + 2) << 8) | byteAt(b, i + 3);
    bool frame =
        marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
    if (frame) {
      if (i + 9 > b.size()) return true;
      long long height = (byteAt(b, i + 5) << 8) | byteAt(b, i + 6);
      long long width = (byteAt(b, i + 7) << 8) | byteAt(b, i + 8);
      return acceptable(width, height);
    }
    if (marker == 0xda || length < 2) return true;  // scan data or a broken length
    i += 2 + length;
  }
  return true;
}

struct SizeCheck {
  bool tooLarge = false;
};

void onSizePrepared(GdkPixbufLoader*, int width, int height, gpointer data) {
  if (!acceptable(width, height)) {
    static_cast<SizeCheck*>(data)->tooLarge = true;
  }
}

// Copies a pixbuf into a premultiplied ARGB32 surface.
cairo_surface_t* surfaceFromPixbuf(GdkPixbuf* pixbuf) {
  const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool hasAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
  if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  const guchar* src = gdk_pixbuf_read_pixels(pixbuf);
  const int srcStride = gdk_pixbuf_get_rowstride(pixbuf);
  unsigned char* dst = cairo_image_surface_get_data(surface);
  const int dstStride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) {
    const guchar* s = src + static_cast<size_t>(y) * srcStride;
    auto* d = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * dstStride);
    for (int x = 0; x < w; ++x, s += channels) {
      uint32_t a = hasAlpha ? s[3] : 255;
      uint32_t r = (s[0] * a + 127) / 255, g = (s[1] * a + 127) / 255, b = (s[2] * a + 127) / 255;
      d[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

// Copies the surface into an unpremultiplied RGBA pixbuf for the encoders.
GdkPixbuf* pixbufFromSurface(cairo_surface_t* surface) {
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, w, h);
  if (!pixbuf) return nullptr;
  guchar* dst = gdk_pixbuf_get_pixels(pixbuf);
  const int dstStride = gdk_pixbuf_get_rowstride(pixbuf);
  const unsigned char* src = cairo_image_surface_get_data(surface);
  const int srcStride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) {
    auto* s = reinterpret_cast<const uint32_t*>(src + static_cast<size_t>(y) * srcStride);
    guchar* d = dst + static_cast<size_t>(y) * dstStride;
    for (int x = 0; x < w; ++x, d += 4) {
      uint32_t p = s[x], a = p >> 24;
      auto un = [a](uint32_t c) { return a ? static_cast<guchar>((c * 255 + a / 2) / a) : 0; };
      d[0] = un((p >> 16) & 0xff);
      d[1] = un((p >> 8) & 0xff);
      d[2] = un(p & 0xff);
      d[3] = static_cast<guchar>(a);
    }
  }
  return pixbuf;
}

std::string encode(cairo_surface_t* surface, const char* type, const char* key, const char* value) {
  GdkPixbuf* pixbuf = pixbufFromSurface(surface);
  if (!pixbuf) return {};
  GdkPixbuf* source = pixbuf;
  if (std::string_view(type) == "jpeg") {
    // JPEG has no alpha: flatten onto white, as the device's encoder does.
    source = gdk_pixbuf_composite_color_simple(pixbuf, gdk_pixbuf_get_width(pixbuf),
                                               gdk_pixbuf_get_height(pixbuf), GDK_INTERP_NEAREST,
                                               255, 256, 0xffffff, 0xffffff);
    GdkPixbuf* rgb =
        source ? gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, gdk_pixbuf_get_width(source),
                                gdk_pixbuf_get_height(source))
               : nullptr;
    if (rgb) {
      // Drop the (now opaque) alpha channel: the JPEG saver wants three channels.
      for (int y = 0; y < gdk_pixbuf_get_height(source); ++y) {
        const guchar* s = gdk_pixbuf_read_pixels(source) +
                          static_cast<size_t>(y) * gdk_pixbuf_get_rowstride(source);
        guchar* d =
            gdk_pixbuf_get_pixels(rgb) + static_cast<size_t>(y) * gdk_pixbuf_get_rowstride(rgb);
        for (int x = 0; x < gdk_pixbuf_get_width(source); ++x) {
          std::copy(s + 4 * x, s + 4 * x + 3, d + 3 * x);
        }
      }
    }
    if (source) g_object_unref(source);
    source = rgb;
  }
  std::string out;
  if (source) {
    gchar* buffer = nullptr;
    gsize size = 0;
    GError* error = nullptr;
    if (gdk_pixbuf_save_to_buffer(source, &buffer, &size, type, &error, key, value, nullptr)) {
      out.assign(buffer, size);
      g_free(buffer);
    } else {
      base::log(std::string("Image encoding failed: ") + (error ? error->message : type));
      if (error) g_error_free(error);
    }
    if (source != pixbuf) g_object_unref(source);
  }
  g_object_unref(pixbuf);
  return out;
}

}  // namespace

Image::Image(cairo_surface_t* surface, double scale, std::string name)
    : surface_(surface), scale_(scale > 0 ? scale : 1), name_(std::move(name)) {}

Image::~Image() {
  cairo_surface_destroy(surface_);
}

ImagePtr Image::fromData(std::string_view bytes, double scale) {
  const char* format = formatOf(bytes);
  if (!format) {
    base::log("Image decoding failed: not a JPEG, PNG or GIF image");
    return nullptr;
  }
  if (!declaredSizeAcceptable(format, bytes)) {
    base::log("Image decoding failed: picture too large");
    return nullptr;
  }
  GError* error = nullptr;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(format, &error);
  if (!loader) {
    base::log(std::string("Image decoding failed: ") + (error ? error->message : format));
    if (error) g_error_free(error);
    return nullptr;
  }
  SizeCheck check;
  g_signal_connect(loader, "size-prepared", G_CALLBACK(onSizePrepared), &check);
  // Fed in pieces so that a picture whose decoded size is too large stops being decoded early.
  constexpr size_t kChunk = 4096;
  bool ok = true;
  for (size_t at = 0; ok && at < bytes.size() && !check.tooLarge; at += kChunk) {
    size_t n = std::min(kChunk, bytes.size() - at);
    ok = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data() + at), n,
                                 &error);
  }
  // close() reports truncated data; it must run even after a failure to release the loader.
  bool closed = gdk_pixbuf_loader_close(loader, ok ? &error : nullptr);
  ok = ok && closed && !check.tooLarge;
  GdkPixbuf* pixbuf = ok ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  cairo_surface_t* surface = pixbuf ? surfaceFromPixbuf(pixbuf) : nullptr;
  if (!surface) {
    std::string why = check.tooLarge ? "picture too large" : error ? error->message : "no pixels";
    base::log("Image decoding failed: " + why);
  }
  if (error) g_error_free(error);
  g_object_unref(loader);
  if (!surface) return nullptr;
  return ImagePtr(new Image(surface, scale, {}));
}

ImagePtr Image::fromFile(const std::filesystem::path& path, double scale) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    base::log("Image file missing: " + path.string());
    return nullptr;
  }
  std::ostringstream data;
  data << in.rdbuf();
  return fromData(data.str(), scale);
}

ImagePtr Image::named(const std::string& name) {
  static std::mutex mutex;
  static std::map<std::string, ImagePtr> cache;
  {
    std::lock_guard lock(mutex);
    if (auto it = cache.find(name); it != cache.end()) return it->second;
  }
  auto path = base::dataFile("images/" + name);
  ImagePtr decoded = path.empty() ? nullptr : fromFile(path, 2.0);
  if (!decoded) {
    base::log("Image not found: " + name);
    return nullptr;
  }
  cairo_surface_t* surface = cairo_surface_reference(decoded->surface_);
  ImagePtr image(new Image(surface, 2.0, name));
  std::lock_guard lock(mutex);
  return cache.emplace(name, image).first->second;
}

ImagePtr Image::filled(Size points, const Color& color, double scale) {
  if (scale <= 0) scale = 1;
  int w = std::max(1, static_cast<int>(std::ceil(points.width * scale)));
  int h = std::max(1, static_cast<int>(std::ceil(points.height * scale)));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return ImagePtr(new Image(surface, scale, {}));
}

ImagePtr Image::fromCairoSurface(cairo_surface_t* source, double scale) {
  if (!source || cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  cairo_format_t format = cairo_image_surface_get_format(source);
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return nullptr;
  cairo_surface_flush(source);
  int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_surface(cr, source, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return ImagePtr(new Image(surface, scale, {}));
}

Size Image::size() const {
  return {pixelWidth() / scale_, pixelHeight() / scale_};
}
int Image::pixelWidth() const {
  return cairo_image_surface_get_width(surface_);
}
int Image::pixelHeight() const {
  return cairo_image_surface_get_height(surface_);
}

Color Image::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) return Color::clear();
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  uint32_t p = reinterpret_cast<const uint32_t*>(
      data + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_))[x];
  double a = (p >> 24) / 255.0;
  if (a == 0) return Color::clear();
  auto channel = [&](int shift) { return ((p >> shift) & 0xff) / 255.0 / a; };
  return Color{channel(16), channel(8), channel(0), a};
}

std::string Image::jpegData(double quality) const {
  int q = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100));
  std::string value = std::to_string(std::max(q, 1));
  return encode(surface_, "jpeg", "quality", value.c_str());
}

std::string Image::pngData() const {
  return encode(surface_, "png", nullptr, nullptr);
}

}  // namespace graphics
