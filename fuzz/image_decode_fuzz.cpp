#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/graphics/Image.h"

// Any bytes: either a clean failure or an image whose pixels can be read and re-encoded.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto image =
      graphics::Image::fromData(std::string_view(reinterpret_cast<const char*>(data), size));
  if (image) {
    (void)image->pixel(image->pixelWidth() - 1, image->pixelHeight() - 1);
    if (image->pixelWidth() * image->pixelHeight() <= 4096) (void)image->pngData();
  }
  return 0;
}
