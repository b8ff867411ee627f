#include "platform/base/Strings.h"

#include <gtest/gtest.h>

TEST(Strings, SplitReplaceJoin) {
  EXPECT_EQ(base::split("a::b:", ":"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(base::split("", " "), (std::vector<std::string>{""}));
  std::string s = "<img<img x";
  EXPECT_EQ(base::replaceAll(s, "<img", ""), 2u);
  EXPECT_EQ(s, " x");
  EXPECT_EQ(base::join({"a", "b"}, " "), "a b");
  EXPECT_EQ(base::removingWhitespace(" \n\thttp://x/ y \r\n"), "http://x/y");
  EXPECT_EQ(base::format("%02d:%s", 5, "x"), "05:x");
}

TEST(Strings, Utf8Validity) {
  const std::pair<const char*, bool> cases[] = {
      {"", true},
      {"Tiếng Việt", true},
      {"\xF0\x9F\x93\xB0 U+1F4F0, \xF4\x8F\xBF\xBF U+10FFFF", true},
      {"gia\x9evang", false},           // stray continuation byte
      {"\xC3", false},                  // cut short
      {"\xC0\xAF", false},              // overlong "/"
      {"\xE0\x9F\xBF", false},          // overlong
      {"\xF0\x8F\xBF\xBF", false},      // overlong
      {"\xED\xA0\x80", false},          // UTF-16 surrogate
      {"\xF4\x90\x80\x80", false},      // above U+10FFFF
      {"\xF8\x88\x80\x80\x80", false},  // five-byte form
      {"\xE1\xBA\x41", false},          // ASCII where a continuation belongs
  };
  for (auto [text, valid] : cases) EXPECT_EQ(base::isValidUtf8(text), valid) << text;
}
