#pragma once

namespace ui {

// How inserted rows come in and deleted rows go out, in the device's order.
enum class TableViewRowAnimation {
  Fade,
  Right,   // slide in from the right, or out to the right
  Left,    // slide in from the left, or out to the left
  Top,     // slide in from above, or out upwards
  Bottom,  // slide in from below, or out downwards
  None,
  Middle,  // grow from, or shrink to, the middle of the row
};

}  // namespace ui
