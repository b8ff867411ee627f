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
