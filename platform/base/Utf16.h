#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Lengths as the device's strings count them: in UTF-16 code units, so a character outside the
// Basic Multilingual Plane (most emoji) counts two. Input that is not valid UTF-8 is read with
// each bad sequence standing for one U+FFFD replacement character.
namespace base {

// The number of UTF-16 units of `utf8`.
size_t utf16Length(std::string_view utf8);

// The longest prefix of `utf8` of at most `maxUnits` UTF-16 units that ends between two code
// points: a character of two units that would straddle the limit is left out whole. The result
// is valid UTF-8 (bad sequences come out as U+FFFD).
std::string utf16Prefix(std::string_view utf8, size_t maxUnits);

}  // namespace base
