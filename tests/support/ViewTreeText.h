#pragma once
#include <string>

namespace ui {
class View;
}

namespace testing_support {

// A view tree as indented text lines, one view a line, for comparing a screen with a reviewed
// expectation file: <class> <x>,<y> <width>x<height> [tag=<n>] [hidden] [alpha=<a>] [bg=#rrggbb]
// [details], frames in the superview's coordinates. Details: a label's "text", font, colour and
// line count (when not 1), a button's title and image names (normal, and highlighted/selected
// backgrounds when set), an image view's image ("picture" for a downloaded one), a scroll view's
// content size and offset. `depth` limits how far below the root the tree is written (-1: all).
class ViewTreeText {
 public:
  static std::string dump(const ui::View& root, int depth = -1);
};

}  // namespace testing_support
