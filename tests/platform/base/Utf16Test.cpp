#include "platform/base/Utf16.h"

#include <gtest/gtest.h>

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Utf16, LengthAndPrefixNeverSplitACodePoint) {
  const std::string composed = "Vi\xE1\xBB\x87t";         // "Việt", ệ as one code point
  const std::string decomposed = "Vie\xCC\xA3\xCC\x82t";  // e + dot below + circumflex
  const std::string emoji = "ab\xF0\x9F\x98\x80";         // U+1F600: two units
  struct Row {
    std::string text;
    size_t length;
    size_t limit;
    std::string prefix;
  };
  const Row rows[] = {
      {"hello", 5, 3, "hel"},
      {"hello", 5, 9, "hello"},
      {"", 0, 4, ""},
      {composed, 4, 3, "Vi\xE1\xBB\x87"},
      {decomposed, 6, 4, "Vie\xCC\xA3"},
      {decomposed, 6, 3, "Vie"},
      {emoji, 4, 3, "ab"},  // the pair straddling the limit goes whole
      {emoji, 4, 4, emoji},
      {emoji, 4, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text + " / " + std::to_string(row.limit));
    EXPECT_EQ(base::utf16Length(row.text), row.length);
    EXPECT_EQ(base::utf16Prefix(row.text, row.limit), row.prefix);
  }
}

TEST(Utf16, BrokenInputCountsAndComesOutAsReplacementCharacters) {
  struct Row {
    std::string text;
    size_t length;
    std::string prefix;  // at most 10 units
  };
  const Row rows[] = {
      {"a\xC3", 2, "a" + kFffd},                               // cut short at the end
      {"\xC3(", 2, kFffd + "("},                               // bad continuation
      {"\xE0\x80\x80", 3, kFffd + kFffd + kFffd},              // overlong
      {"\xED\xA0\x80x", 4, kFffd + kFffd + kFffd + "x"},       // encoded surrogate
      {"\xF4\x90\x80\x80", 4, kFffd + kFffd + kFffd + kFffd},  // above U+10FFFF
      {"\xF0\x9F\x98", 1, kFffd},                              // emoji cut short
      {"\xFF\xC0\x80", 3, kFffd + kFffd + kFffd},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.text));
    EXPECT_EQ(base::utf16Length(row.text), row.length);
    EXPECT_EQ(base::utf16Prefix(row.text, 10), row.prefix);
  }
}

}  // namespace
