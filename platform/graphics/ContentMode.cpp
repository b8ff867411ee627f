#include "platform/graphics/ContentMode.h"

#include <algorithm>

namespace graphics {

Rect placeContent(ContentMode mode, Size content, const Rect& bounds) {
  const double bw = bounds.width(), bh = bounds.height();
  const double cw = content.width, ch = content.height;
  switch (mode) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
      return bounds;
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
      if (cw <= 0 || ch <= 0) return Rect{bounds.center(), Size{}};
      double sx = bw / cw, sy = bh / ch;
      double s = mode == ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
      double w = cw * s, h = ch * s;
      return Rect{bounds.x() + (bw - w) / 2, bounds.y() + (bh - h) / 2, w, h};
    }
    default:
      break;
  }
  // The remaining modes keep the content's size and only place it.
  double x = bounds.x() + (bw - cw) / 2;
  double y = bounds.y() + (bh - ch) / 2;
  switch (mode) {
    case ContentMode::Top:
      y = bounds.y();
      break;
    case ContentMode::Bottom:
      y = bounds.y() + bh - ch;
      break;
    case ContentMode::Left:
      x = bounds.x();
      break;
    case ContentMode::Right:
      x = bounds.x() + bw - cw;
      break;
    case ContentMode::TopLeft:
      x = bounds.x();
      y = bounds.y();
      break;
    case ContentMode::TopRight:
      x = bounds.x() + bw - cw;
      y = bounds.y();
      break;
    case ContentMode::BottomLeft:
      x = bounds.x();
      y = bounds.y() + bh - ch;
      break;
    case ContentMode::BottomRight:
      x = bounds.x() + bw - cw;
      y = bounds.y() + bh - ch;
      break;
    default:
      break;
  }
  return Rect{x, y, cw, ch};
}

}  // namespace graphics
