#pragma once
#include <string_view>

#include "platform/graphics/Color.h"

// An opaque colour from a hexadecimal colour text such as "#993333" or "993333": the leading
// "#" is skipped, then the hexadecimal number up to the first other character gives red
// (bits 16-23), green (8-15) and blue (0-7). Text with no hexadecimal digit gives black.
graphics::Color toUIColor(std::string_view text);
