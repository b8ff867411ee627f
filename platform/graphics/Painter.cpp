#include "platform/graphics/Painter.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/PangoEngine.h"

namespace graphics {
namespace {

PangoAlignment pangoAlignment(TextAlignment a) {
  switch (a) {
    case TextAlignment::Center:
      return PANGO_ALIGN_CENTER;
    case TextAlignment::Right:
      return PANGO_ALIGN_RIGHT;
    default:
      return PANGO_ALIGN_LEFT;
  }
}

double naturalWidth(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return fromPango(logical.width);
}

}  // namespace

Painter::Painter(cairo_t* cr) : cr_(cr) {}

void Painter::save() {
  cairo_save(cr_);
  state_.push_back(state_.back());
}

void Painter::restore() {
  if (state_.size() == 1) return;  // unbalanced restore: nothing saved to go back to
  cairo_restore(cr_);
  state_.pop_back();
}

void Painter::translate(double dx, double dy) {
  cairo_translate(cr_, dx, dy);
}
void Painter::rotate(double radians) {
  cairo_rotate(cr_, radians);
}
void Painter::scale(double sx, double sy) {
  cairo_scale(cr_, sx, sy);
}

void Painter::clipToRect(const Rect& rect) {
  cairo_rectangle(cr_, rect.x(), rect.y(), rect.width(), rect.height());
  cairo_clip(cr_);
}

Rect Painter::clipBounds() const {
  double x0, y0, x1, y1;
  cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
  return Rect{x0, y0, x1 - x0, y1 - y0};
}

void Painter::setAlpha(double alpha) {
  state_.back().alpha = std::clamp(alpha, 0.0, 1.0);
}

void Painter::beginLayer() {
  cairo_push_group(cr_);
  state_.push_back(State{});
}

void Painter::endLayer(double alpha) {
  if (state_.size() == 1) return;  // no layer open
  state_.pop_back();
  cairo_pop_group_to_source(cr_);
  cairo_paint_with_alpha(cr_, std::clamp(alpha, 0.0, 1.0) * state_.back().alpha);
}

void Painter::setColor(const Color& c) {
  cairo_set_source_rgba(cr_, c.red, c.green, c.blue, c.alpha * state_.back().alpha);
}

void Painter::roundedRectPath(const Rect& r, double radius) {
  radius = std::clamp(radius, 0.0, std::min(r.width(), r.height()) / 2);
  const double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x1 - radius, y0 + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr_, x1 - radius, y1 - radius, radius, 0, M_PI / 2);
  cairo_arc(cr_, x0 + radius, y1 - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr_, x0 + radius, y0 + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr_);
}

void Painter::fillRect(const Rect& rect, const Color& color) {
  setColor(color);
  cairo_rectangle(cr_, rect.x(), rect.y(), rect.width(), rect.height());
  cairo_fill(cr_);
}

void Painter::strokeRect(const Rect& rect, const Color& color, double lineWidth) {
  setColor(color);
  cairo_set_line_width(cr_, lineWidth);
  // Inset by half the line so the stroke stays inside the rectangle, as the device draws it.
  Rect r = rect.insetBy(lineWidth / 2, lineWidth / 2);
  cairo_rectangle(cr_, r.x(), r.y(), r.width(), r.height());
  cairo_stroke(cr_);
}

void Painter::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
  setColor(color);
  roundedRectPath(rect, radius);
  cairo_fill(cr_);
}

void Painter::strokeRoundedRect(const Rect& rect, double radius, const Color& color,
                                double lineWidth) {
  setColor(color);
  cairo_set_line_width(cr_, lineWidth);
  roundedRectPath(rect.insetBy(lineWidth / 2, lineWidth / 2), radius);
  cairo_stroke(cr_);
}

void Painter::fillEllipse(const Rect& rect, const Color& color) {
  if (rect.isEmpty()) return;
  setColor(color);
  cairo_save(cr_);
  cairo_translate(cr_, rect.midX(), rect.midY());
  cairo_scale(cr_, rect.width() / 2, rect.height() / 2);
  cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr_);
  cairo_fill(cr_);
}

void Painter::drawLine(Point from, Point to, const Color& color, double lineWidth) {
  setColor(color);
  cairo_set_line_width(cr_, lineWidth);
  cairo_move_to(cr_, from.x, from.y);
  cairo_line_to(cr_, to.x, to.y);
  cairo_stroke(cr_);
}

void Painter::fillVerticalGradient(const Rect& rect, const Color& from, const Color& to,
                                   double cornerRadius) {
  const double a = state_.back().alpha;
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, rect.minY(), 0, rect.maxY());
  cairo_pattern_add_color_stop_rgba(pattern, 0, from.red, from.green, from.blue, from.alpha * a);
  cairo_pattern_add_color_stop_rgba(pattern, 1, to.red, to.green, to.blue, to.alpha * a);
  cairo_set_source(cr_, pattern);
  roundedRectPath(rect, cornerRadius);
  cairo_fill(cr_);
  cairo_pattern_destroy(pattern);
}

void Painter::drawImage(const Image& image, const Rect& rect, ContentMode mode) {
  Rect target = placeContent(mode, image.size(), rect);
  if (target.isEmpty() || rect.isEmpty()) return;
  cairo_save(cr_);
  clipToRect(rect);
  cairo_translate(cr_, target.x(), target.y());
  cairo_scale(cr_, target.width() / image.pixelWidth(), target.height() / image.pixelHeight());
  cairo_set_source_surface(cr_, image.cairoSurface(), 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr_);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  cairo_rectangle(cr_, 0, 0, image.pixelWidth(), image.pixelHeight());
  cairo_clip(cr_);
  cairo_paint_with_alpha(cr_, state_.back().alpha);
  cairo_restore(cr_);
}

void Painter::drawText(const std::string& text, const Rect& rect, const TextStyle& style) {
  if (text.empty() || rect.width() <= 0 || rect.height() <= 0) return;
  PangoEngine& engine = PangoEngine::shared();
  auto lock = engine.lock();
  const bool singleLine = style.numberOfLines == 1;
  const PangoEllipsizeMode ellipsize = pangoEllipsize(style.lineBreakMode);

  Font font = style.font;
  if (singleLine && style.minimumFontSize > 0 && style.minimumFontSize < font.pointSize()) {
    // Shrink in half points until the line fits or the smallest size is reached.
    for (;;) {
      PangoLayout* probe = engine.createLayout(text, font, 0, style.lineBreakMode);
      pango_layout_set_single_paragraph_mode(probe, TRUE);
      double width = naturalWidth(probe);
      g_object_unref(probe);
      if (width <= rect.width() || font.pointSize() <= style.minimumFontSize) break;
      font = font.withSize(std::max(style.minimumFontSize, font.pointSize() - 0.5));
    }
  }

  PangoLayout* layout = nullptr;
  PangoLayout* kept = nullptr;  // the engine's, never changed here
  double xOffset = 0;
  if (singleLine) {
    layout = engine.createLayout(text, font, 0, style.lineBreakMode);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    if (ellipsize != PANGO_ELLIPSIZE_NONE) {
      pango_layout_set_width(layout, toPango(rect.width()));
      pango_layout_set_ellipsize(layout, ellipsize);
      pango_layout_set_alignment(layout, pangoAlignment(style.alignment));
    } else {
      // Clipped: placed by hand, since a width would make Pango wrap.
      double slack = rect.width() - naturalWidth(layout);
      if (style.alignment == TextAlignment::Center) xOffset = slack / 2;
      if (style.alignment == TextAlignment::Right) xOffset = slack;
    }
  } else if (pangoAlignment(style.alignment) == PANGO_ALIGN_LEFT) {
    // Laid out already when the text was measured for this box.
    kept = engine.keptLayout(text, font, rect.width(), style.lineBreakMode);
    layout = static_cast<PangoLayout*>(g_object_ref(kept));
  } else {
    layout = engine.createLayout(text, font, rect.width(), style.lineBreakMode);
    pango_layout_set_alignment(layout, pangoAlignment(style.alignment));
  }

  // Whole lines that fit in the rectangle (at least one), and no more than numberOfLines.
  const double lineHeight = engine.lineHeight(font);
  const int lines = pango_layout_get_line_count(layout);
  int shown = style.numberOfLines > 0 ? std::min(lines, style.numberOfLines) : lines;
  if (lineHeight > 0 && shown * lineHeight > rect.height()) {
    shown = std::max(1, static_cast<int>(rect.height() / lineHeight));
  }
  if (!singleLine && shown < lines && ellipsize != PANGO_ELLIPSIZE_NONE) {
    // Let Pango cut the last shown line.
    if (layout == kept) {
      g_object_unref(layout);
      layout = pango_layout_copy(kept);
    }
    pango_layout_set_ellipsize(layout, ellipsize);
    pango_layout_set_height(layout, -shown);
  }
  const double blockHeight = shown * lineHeight;

  double top = rect.y();
  if (style.verticalAlignment == VerticalAlignment::Center) {
    top += (rect.height() - blockHeight) / 2;
  }
  cairo_save(cr_);
  cairo_rectangle(cr_, rect.x(), std::max(rect.y(), top), rect.width(),
                  std::min(blockHeight, rect.height()));
  cairo_clip(cr_);
  // Lines are spaced by the whole-point line height the measurer reports, each line's baseline
  // kept where Pango puts it within its own line box.
  auto showLines = [&](double dx, double dy) {
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    int index = 0;
    do {
      if (index >= shown) break;
      int y0, y1;
      pango_layout_iter_get_line_yrange(iter, &y0, &y1);
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(iter, nullptr, &logical);
      const double baseline = fromPango(pango_layout_iter_get_baseline(iter) - y0);
      cairo_move_to(cr_, rect.x() + xOffset + fromPango(logical.x) + dx,
                    top + index * lineHeight + baseline + dy);
      pango_cairo_show_layout_line(cr_, pango_layout_iter_get_line_readonly(iter));
      ++index;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
  };
  if (style.shadow) {
    setColor(style.shadow->color);
    showLines(style.shadow->offset.width, style.shadow->offset.height);
  }
  setColor(style.color);
  showLines(0, 0);
  cairo_restore(cr_);
  g_object_unref(layout);
}

}  // namespace graphics
