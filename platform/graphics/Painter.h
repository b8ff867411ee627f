#pragma once
#include <cairo.h>

#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/ContentMode.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextStyle.h"

namespace graphics {

// Draws in points onto a Cairo context (a window's, or an OffscreenSurface's). The painter does
// not own the context. Global alpha and the clip are part of the saved state.
class Painter {
 public:
  explicit Painter(cairo_t* cr);
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  cairo_t* context() const { return cr_; }

  void save();
  void restore();
  void translate(double dx, double dy);
  // Clockwise on screen, in radians, about the current origin.
  void rotate(double radians);
  void scale(double sx, double sy);
  // Narrows the clip to `rect` (intersected with the current clip).
  void clipToRect(const Rect& rect);
  // The clip in current coordinates, or an empty rect when nothing is drawable.
  Rect clipBounds() const;

  // Sets the opacity (0 to 1) every later drawing is made with, until restore().
  void setAlpha(double alpha);
  double alpha() const { return state_.back().alpha; }
  // Draws everything until endLayer() into a group that is then composited at `alpha`, so
  // overlapping children of a half-transparent view do not show through one another.
  void beginLayer();
  void endLayer(double alpha);

  void fillRect(const Rect& rect, const Color& color);
  void strokeRect(const Rect& rect, const Color& color, double lineWidth = 1);
  void fillRoundedRect(const Rect& rect, double radius, const Color& color);
  void strokeRoundedRect(const Rect& rect, double radius, const Color& color, double lineWidth = 1);
  void fillEllipse(const Rect& rect, const Color& color);
  void drawLine(Point from, Point to, const Color& color, double lineWidth = 1);
  // A linear gradient from `from` at the top edge to `to` at the bottom edge, optionally with
  // rounded corners.
  void fillVerticalGradient(const Rect& rect, const Color& from, const Color& to,
                            double cornerRadius = 0);

  // Places the image in `rect` by `mode` and draws it, clipped to `rect`.
  void drawImage(const Image& image, const Rect& rect, ContentMode mode = ContentMode::ScaleToFill);
  // Lays the text out in `rect` by `style` with the same Pango settings the text measurer uses,
  // and draws it clipped to `rect`.
  void drawText(const std::string& text, const Rect& rect, const TextStyle& style);

 private:
  struct State {
    double alpha = 1;
  };
  void setColor(const Color& color);
  void roundedRectPath(const Rect& rect, double radius);

  cairo_t* cr_;
  std::vector<State> state_{State{}};
};

}  // namespace graphics
