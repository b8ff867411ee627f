// Writes every scene as a thumbnail (thumbs/, 140 × 105) and a picture (pictures/, 600 × 400)
// into the folder given on the command line.
#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "Scenes.h"

namespace {

// Paints the scene to cover the whole image, keeping its proportions and centring it.
cairo_surface_t* render(const Scene& scene, int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  double scale = std::max(width / 600.0, height / 400.0);
  cairo_translate(cr, (width - 600 * scale) / 2, (height - 400 * scale) / 2);
  cairo_scale(cr, scale, scale);
  scene.draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

// Cairo's RGB24 pixels are native-endian 0x00RRGGBB words; gdk-pixbuf wants R, G, B bytes.
bool saveJpeg(cairo_surface_t* surface, const std::filesystem::path& path) {
  int width = cairo_image_surface_get_width(surface);
  int height = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
  int outStride = gdk_pixbuf_get_rowstride(pixbuf);
  guchar* out = gdk_pixbuf_get_pixels(pixbuf);
  for (int y = 0; y < height; ++y) {
    auto row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width; ++x) {
      guchar* px = out + y * outStride + x * 3;
      px[0] = (row[x] >> 16) & 0xff;
      px[1] = (row[x] >> 8) & 0xff;
      px[2] = row[x] & 0xff;
    }
  }
  GError* error = nullptr;
  bool ok = gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", &error, "quality", "88", nullptr);
  if (!ok) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error->message);
    g_error_free(error);
  }
  g_object_unref(pixbuf);
  return ok;
}

bool save(const Scene& scene, int width, int height, const std::filesystem::path& folder) {
  cairo_surface_t* surface = render(scene, width, height);
  auto path = folder / (scene.name + (scene.jpeg ? ".jpg" : ".png"));
  bool ok;
  if (scene.jpeg) {
    ok = saveJpeg(surface, path);
  } else {
    ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    if (!ok) std::fprintf(stderr, "%s: cannot write\n", path.c_str());
  }
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out / "thumbs", ec);
  std::filesystem::create_directories(out / "pictures", ec);
  bool ok = true;
  for (const Scene& scene : scenes()) {
    ok = save(scene, 140, 105, out / "thumbs") && ok;
    ok = save(scene, 600, 400, out / "pictures") && ok;
  }
  return ok ? 0 : 1;
}
