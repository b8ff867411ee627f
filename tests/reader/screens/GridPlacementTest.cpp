#include "reader/screens/GridPlacement.h"

#include <gtest/gtest.h>

using graphics::Rect;
using graphics::Size;

TEST(GridPlacement, PortraitGroupsOfSixInThreeRows) {
  const char* types[] = {"big", "medium", "small", "small", "small", "small"};
  const Rect frames[] = {{0, 0, 320, 151},   {0, 151, 214, 151},   {214, 151, 107, 151},
                         {0, 302, 107, 151}, {107, 302, 107, 151}, {214, 302, 107, 151}};
  for (size_t i = 0; i < 6; ++i) {
    auto tile = GridPlacement::tileAt(i, false);
    EXPECT_EQ(tile.type, types[i]) << i;
    EXPECT_EQ(tile.frame, frames[i]) << i;
    EXPECT_EQ(GridPlacement::tileAt(i + 12, false).frame, frames[i].offsetBy(0, 906)) << i;
  }
  // The seventh story starts a new group with a big tile.
  EXPECT_EQ(GridPlacement::tileAt(6, false).type, "big");
  EXPECT_EQ(GridPlacement::tileAt(6, false).frame, Rect(0, 453, 320, 151));
  EXPECT_EQ(GridPlacement::contentSize(7, false), Size(320, 604));
  EXPECT_EQ(GridPlacement::contentSize(1, false), Size(320, 151));
  EXPECT_EQ(GridPlacement::contentSize(6, false), Size(320, 453));
}

TEST(GridPlacement, LandscapeGroupsOfFourInTwoRows) {
  const Rect frames[] = {
      {0, 0, 480, 100}, {0, 100, 160, 100}, {160, 100, 160, 100}, {320, 100, 160, 100}};
  for (size_t i = 0; i < 4; ++i) {
    auto tile = GridPlacement::tileAt(i, true);
    EXPECT_EQ(tile.type, i == 0 ? "zero" : "one") << i;
    EXPECT_EQ(tile.frame, frames[i]) << i;
  }
  EXPECT_EQ(GridPlacement::tileAt(4, true).type, "zero");
  EXPECT_EQ(GridPlacement::tileAt(4, true).frame, Rect(0, 200, 480, 100));
  EXPECT_EQ(GridPlacement::contentSize(5, true), Size(480, 300));
  EXPECT_EQ(GridPlacement::contentSize(1, true), Size(480, 100));
}
