#include "platform/base/Utf16.h"

#include <gtest/gtest.h>

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Utf16, LengthAndPrefixNeverSplitACodePoint) {
  const std::string composed = "Vi\xE1\xBB\x87t";         // "Việt", ệ as one code point
  const std::string decomposed = "Vie\xCC\xA3\xCC\x82t";  // e + dot below + circumflex
  const std::string emoji = "ab\xF0\x9F\x98\x80";         // U+1F600: two units
  // Text, its length in UTF-16 units, a limit, the prefix within it.
  const std::tuple<std::string, size_t, size_t, std::string> rows[] = {
      {"hello", 5, 3, "hel"},
      {"hello", 5, 9, "hello"},
      {"", 0, 4, ""},
      {composed, 4, 3, "Vi\xE1\xBB\x87"},
      {decomposed, 6, 4, "Vie\xCC\xA3"},
      {decomposed, 6, 3, "Vie"},
      {emoji, 4, 3, "ab"},  // the pair straddling the limit goes whole
      {emoji, 4, 4, emoji},
      {emoji, 4, 0, ""}};
  for (const auto& [text, length, limit, prefix] : rows) {
    SCOPED_TRACE(text + " / " + std::to_string(limit));
    EXPECT_EQ(base::utf16Length(text), length);
    EXPECT_EQ(base::utf16Prefix(text, limit), prefix);
  }
}

TEST(Utf16, BrokenInputCountsAndComesOutAsReplacementCharacters) {
  // Text, its length, its prefix of at most 10 units.
  const std::tuple<std::string, size_t, std::string> rows[] = {
      {"a\xC3", 2, "a" + kFffd},                               // cut short at the end
      {"\xC3(", 2, kFffd + "("},                               // bad continuation
      {"\xE0\x80\x80", 3, kFffd + kFffd + kFffd},              // overlong
      {"\xED\xA0\x80x", 4, kFffd + kFffd + kFffd + "x"},       // encoded surrogate
      {"\xF4\x90\x80\x80", 4, kFffd + kFffd + kFffd + kFffd},  // above U+10FFFF
      {"\xF0\x9F\x98", 1, kFffd},                              // emoji cut short
      {"\xFF\xC0\x80", 3, kFffd + kFffd + kFffd},
  };
  for (const auto& [text, length, prefix] : rows) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(base::utf16Length(text), length);
    EXPECT_EQ(base::utf16Prefix(text, 10), prefix);
  }
}

}  // namespace
