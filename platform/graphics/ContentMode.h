#pragma once
#include "platform/graphics/Geometry.h"

namespace graphics {

// How an image is placed in a view's bounds, in the device's order.
enum class ContentMode {
  ScaleToFill,
  ScaleAspectFit,
  ScaleAspectFill,
  Redraw,
  Center,
  Top,
  Bottom,
  Left,
  Right,
  TopLeft,
  TopRight,
  BottomLeft,
  BottomRight,
};

// The rectangle an image of `content` size occupies inside `bounds` under `mode` (it may
// reach outside `bounds`; callers clip when they need to).
Rect placeContent(ContentMode mode, Size content, const Rect& bounds);

}  // namespace graphics
