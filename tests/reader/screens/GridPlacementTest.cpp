#include "reader/screens/GridPlacement.h"

#include <gtest/gtest.h>

using graphics::Rect;
using graphics::Size;

// Portrait: groups of six in three rows 151 high; landscape: groups of four in two rows 100 high.
TEST(GridPlacement, TilesAndScrollExtentInBothOrientations) {
  struct Case {
    size_t index;
    bool landscape;
    const char* type;
    Rect frame;
  };
  for (const Case& c :
       {Case{0, false, "big", {0, 0, 320, 151}}, Case{1, false, "medium", {0, 151, 214, 151}},
        Case{2, false, "small", {214, 151, 107, 151}}, Case{3, false, "small", {0, 302, 107, 151}},
        Case{4, false, "small", {107, 302, 107, 151}},
        Case{5, false, "small", {214, 302, 107, 151}}, Case{6, false, "big", {0, 453, 320, 151}},
        Case{16, false, "small", {107, 1208, 107, 151}}, Case{0, true, "zero", {0, 0, 480, 100}},
        Case{1, true, "one", {0, 100, 160, 100}}, Case{2, true, "one", {160, 100, 160, 100}},
        Case{3, true, "one", {320, 100, 160, 100}}, Case{4, true, "zero", {0, 200, 480, 100}}}) {
    SCOPED_TRACE(testing::Message() << c.index << (c.landscape ? " landscape" : " portrait"));
    auto tile = GridPlacement::tileAt(c.index, c.landscape);
    EXPECT_EQ(tile.type, c.type);
    EXPECT_EQ(tile.frame, c.frame);
    // The scroll extent ends with the last tile's row.
    EXPECT_EQ(GridPlacement::contentSize(c.index + 1, c.landscape),
              Size(c.landscape ? 480 : 320, c.frame.maxY()));
  }
}
