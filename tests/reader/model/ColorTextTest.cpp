#include "reader/model/ColorText.h"

#include <gtest/gtest.h>

using graphics::Color;

namespace {

TEST(ColorTextTest, HexadecimalTexts) {
  EXPECT_EQ(toUIColor("#993333"), Color::rgb(153, 51, 51));
  EXPECT_EQ(toUIColor("993333"), toUIColor("#993333"));
  EXPECT_EQ(toUIColor("#ffFFff"), Color::white());
  EXPECT_EQ(toUIColor("#00ff00"), Color::rgb(0, 255, 0));
  // Scanning stops at the first other character; short values fill from blue upwards.
  EXPECT_EQ(toUIColor("#12zz"), Color::rgb(0, 0, 0x12));
  EXPECT_EQ(toUIColor("0x336699"), Color::rgb(0x33, 0x66, 0x99));
  // Only the low 24 bits of a longer number count; beyond 32 bits the value saturates.
  EXPECT_EQ(toUIColor("#7f993333"), Color::rgb(153, 51, 51));
  EXPECT_EQ(toUIColor("#123456789abc"), Color::white());
  EXPECT_EQ(toUIColor("#993333").alpha, 1.0);
}

TEST(ColorTextTest, NoHexadecimalDigitIsBlack) {
  for (const char* text : {"", "#", "red", "##993333", "#-1", "0x"})
    EXPECT_EQ(toUIColor(text), Color::black()) << text;
}

}  // namespace
