#include "platform/graphics/Image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "platform/graphics/OffscreenSurface.h"
#include "platform/graphics/Painter.h"

using graphics::Color;
using graphics::Image;
using graphics::ImagePtr;

namespace {

// A 1 × 1 GIF whose only pixel is red.
const std::string kRedGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
    35);

// An 8 × 4 picture: left half red, right half half-transparent blue.
ImagePtr twoHalves() {
  graphics::OffscreenSurface surface({8, 4});
  graphics::Painter p(surface.context());
  p.fillRect({0, 0, 4, 4}, Color{1, 0, 0, 1});
  p.fillRect({4, 0, 4, 4}, Color{0, 0, 1, 0.5});
  return surface.snapshot();
}

bool near(const Color& a, const Color& b, double tolerance) {
  return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
         std::abs(a.blue - b.blue) <= tolerance && std::abs(a.alpha - b.alpha) <= tolerance;
}

// PNG keeps alpha; JPEG flattens it onto white (half blue becomes light blue).
TEST(Image, EncodedImagesDecodeToTheirPixels) {
  // Format, bytes, the top left and bottom right pixels, the tolerance.
  const std::tuple<const char*, std::string, Color, Color, double> rows[] = {
      {"png", twoHalves()->pngData(), {1, 0, 0, 1}, {0, 0, 1, 0.5}, 0.02},
      {"jpeg", twoHalves()->jpegData(1.0), {1, 0, 0, 1}, {0.5, 0.5, 1, 1}, 0.1},
      {"gif", kRedGif, {1, 0, 0, 1}, {1, 0, 0, 1}, 0.01}};
  for (const auto& [name, bytes, topLeft, bottomRight, tolerance] : rows) {
    SCOPED_TRACE(name);
    ImagePtr decoded = Image::fromData(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(near(decoded->pixel(0, 0), topLeft, tolerance));
    EXPECT_TRUE(near(decoded->pixel(decoded->pixelWidth() - 1, decoded->pixelHeight() - 1),
                     bottomRight, tolerance));
  }
  ImagePtr big = Image::filled({64, 64}, Color{0.3, 0.6, 0.2, 1});
  EXPECT_LT(big->jpegData(0.1).size(), big->jpegData(1.0).size());
}

TEST(Image, BrokenBytesFailCleanly) {
  std::string png = twoHalves()->pngData();
  EXPECT_FALSE(Image::fromData("<html>404 Not Found</html>"));
  EXPECT_FALSE(Image::fromData(png.substr(0, png.size() / 2)));  // cut short
  EXPECT_FALSE(Image::fromData("\xff\xd8\xff" + png));           // the signature of another format
  // Headers that declare a huge canvas are refused before anything is allocated for it.
  std::string hugeGif = kRedGif;
  hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = '\xff';
  EXPECT_FALSE(Image::fromData(hugeGif));
  std::string hugePng = png;
  hugePng.replace(16, 8, std::string("\x00\x01\x86\xa0\x00\x01\x86\xa0", 8));
  EXPECT_FALSE(Image::fromData(hugePng));
  std::string jpeg = twoHalves()->jpegData(0.8);
  ASSERT_TRUE(Image::fromData(jpeg));
  size_t sof = jpeg.find("\xff\xc0");
  ASSERT_NE(sof, std::string::npos);
  jpeg[sof + 5] = jpeg[sof + 6] = jpeg[sof + 7] = jpeg[sof + 8] = '\xff';
  EXPECT_FALSE(Image::fromData(jpeg));
  // A file format the system may decode, but thumbnails never are.
  EXPECT_FALSE(Image::fromData("BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00"));
}

TEST(Image, DecodesOnWorkerThreads) {
  const std::string png = twoHalves()->pngData();
  std::vector<ImagePtr> results(4);
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) threads.emplace_back([&, i] { results[i] = Image::fromData(png); });
  for (auto& t : threads) t.join();
  for (auto& r : results) EXPECT_TRUE(r && near(r->pixel(0, 0), Color{1, 0, 0, 1}, 0.01));
}

}  // namespace
