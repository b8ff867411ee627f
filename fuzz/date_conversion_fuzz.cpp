// Feeds arbitrary text to the feed-date conversion and the colour-text reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "reader/model/ColorText.h"
#include "reader/model/Utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Utilities::convertTimeWithTime(text);
  toUIColor(text);
  return 0;
}
