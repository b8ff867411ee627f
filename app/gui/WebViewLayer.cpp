#include "app/gui/WebViewLayer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/gui/WebKitEngine.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/WebView.h"

namespace {

struct Placement {
  WebKitEngine* engine;
  graphics::Rect frame;  // the web view, in root coordinates
  graphics::Rect clip;   // what of it may show
  size_t layer;          // the root's subview it lies in
  bool covered = false;
  bool moving = false;  // it or a view it lies in is animated or transformed
};

// Whether something shown lies over `rect` among the root's subviews after `index`.
bool coveredAbove(const ui::View& root, size_t index, const graphics::Rect& rect) {
  const auto& children = root.subviews();
  for (size_t i = index + 1; i < children.size(); ++i) {
    const ui::View& above = *children[i];
    if (above.isHidden() || above.alpha() <= 0.01) continue;
    if (above.frame().intersects(rect)) return true;
  }
  return false;
}

// A shown view of the tree, in root coordinates, and what of it may show.
struct Drawn {
  const ui::View* view;
  graphics::Rect frame;
  graphics::Rect clip;
  bool moving;  // it or a view it lies in is animated or transformed
};

// The shown views under `view` (itself included) in painting order.
void flatten(const ui::View& view, graphics::Point offset, graphics::Rect clip, bool moving,
             std::vector<Drawn>& out) {
  if (view.isHidden() || view.alpha() <= 0.01) return;
  moving = moving || !view.transform().isIdentity() || ui::Animator::shared().isAnimating(view);
  graphics::Rect frame{offset.x + view.frame().x(), offset.y + view.frame().y(),
                       view.frame().width(), view.frame().height()};
  if (view.clipsToBounds()) clip = clip.intersection(frame);
  out.push_back({&view, frame, clip, moving});
  graphics::Point inner{frame.x() - view.bounds().origin.x, frame.y() - view.bounds().origin.y};
  for (const auto& child : view.subviews()) flatten(*child, inner, clip, moving, out);
}

// Takes from `area` a view drawn over it that lies across its whole width at its top or bottom
// (a footer bar) or across its whole height at a side, so that the native widget leaves it
// uncovered. A view over the middle only is left to the widget: it cannot be cut around.
graphics::Rect uncovered(graphics::Rect area, const graphics::Rect& above) {
  const graphics::Rect over = area.intersection(above);
  if (over.isEmpty()) return area;
  const bool across = over.x() <= area.x() && over.maxX() >= area.maxX();
  const bool along = over.y() <= area.y() && over.maxY() >= area.maxY();
  if (across && over.maxY() >= area.maxY()) {
    area.size.height = over.y() - area.y();
  } else if (across && over.y() <= area.y()) {
    area.size.height = area.maxY() - over.maxY();
    area.origin.y = over.maxY();
  } else if (along && over.maxX() >= area.maxX()) {
    area.size.width = over.x() - area.x();
  } else if (along && over.x() <= area.x()) {
    area.size.width = area.maxX() - over.maxX();
    area.origin.x = over.maxX();
  }
  if (area.size.width < 0 || area.size.height < 0) return {};
  return area;
}

// The web views shown in the tree of `root`, in painting order.
std::vector<Placement> placements(const ui::View& root) {
  std::vector<Placement> placed;
  const auto& top = root.subviews();
  for (size_t i = 0; i < top.size(); ++i) {
    std::vector<Drawn> drawn;
    flatten(*top[i], {}, root.bounds(), false, drawn);
    for (size_t k = 0; k < drawn.size(); ++k) {
      auto* web = dynamic_cast<const ui::WebView*>(drawn[k].view);
      auto* engine = web ? dynamic_cast<WebKitEngine*>(&web->engine()) : nullptr;
      if (!engine) continue;
      graphics::Rect clip = drawn[k].clip.intersection(drawn[k].frame);
      for (size_t above = k + 1; above < drawn.size(); ++above) {
        if (!drawn[above].view->isDescendantOf(web))
          clip = uncovered(clip, drawn[above].clip.intersection(drawn[above].frame));
      }
      placed.push_back(
          {engine, drawn[k].frame, clip, i, coveredAbove(root, i, clip), drawn[k].moving});
    }
  }
  return placed;
}

const Placement* find(const std::vector<Placement>& placed, const WebKitEngine* engine) {
  for (const Placement& p : placed) {
    if (p.engine == engine) return &p;
  }
  return nullptr;
}

}  // namespace

void WebViewLayer::sync(ui::View& root, double zoom) {
  const std::vector<Placement> placed = placements(root);
  auto px = [zoom](double points) { return static_cast<int>(std::lround(points * zoom)); };
  for (WebKitEngine* engine : WebKitEngine::live()) {
    GtkWidget* clip = engine->clipBox();
    if (!gtk_widget_get_parent(clip)) {
      gtk_fixed_put(GTK_FIXED(fixed_), clip, 0, 0);
      engine->setSnapshotListener([drawing = drawing_] { gtk_widget_queue_draw(drawing); });
    }
    const Placement* p = find(placed, engine);
    const bool onScreen = p && !p->clip.isEmpty();
    // A moving web view shows its picture, drawn in the view tree with the view's own geometry,
    // until it comes to rest.
    const bool pictured = onScreen && p->moving;
    engine->setPictured(pictured);
    engine->setCovered(onScreen && (p->covered || pictured));
    if (!onScreen || p->covered || pictured) {
      gtk_widget_set_visible(clip, FALSE);
      continue;
    }
    gtk_fixed_move(GTK_FIXED(fixed_), clip, px(p->clip.x()), px(p->clip.y()));
    gtk_widget_set_size_request(clip, px(p->clip.width()), px(p->clip.height()));
    engine->placeView({px(p->frame.x() - p->clip.x()), px(p->frame.y() - p->clip.y()),
                       px(p->frame.width()), px(p->frame.height())});
    if (std::abs(webkit_web_view_get_zoom_level(engine->webView()) - zoom) > 1e-6) {
      webkit_web_view_set_zoom_level(engine->webView(), zoom);
    }
    gtk_widget_set_visible(clip, TRUE);
  }
}

void WebViewLayer::paintCovered(const ui::View& root, graphics::Painter& painter) {
  const auto& top = root.subviews();
  // The status bar is drawn over everything.
  const graphics::Rect below{
      0, ui::Renderer::kStatusBarHeight, root.bounds().width(),
      std::max(0.0, root.bounds().height() - ui::Renderer::kStatusBarHeight)};
  for (const Placement& p : placements(root)) {
    cairo_surface_t* picture = p.engine->snapshot();
    if (!p.covered || !picture) continue;
    const graphics::Rect area = p.clip.intersection(below);
    if (area.isEmpty()) continue;
    painter.save();
    painter.translate(root.frame().x() - root.bounds().x(), root.frame().y() - root.bounds().y());
    painter.clipToRect(area);
    painter.save();
    // The picture has the widget's pixels; it fills the web view's frame.
    cairo_t* cr = painter.context();
    const int width = cairo_image_surface_get_width(picture);
    const int height = cairo_image_surface_get_height(picture);
    cairo_translate(cr, p.frame.x(), p.frame.y());
    cairo_scale(cr, p.frame.width() / width, p.frame.height() / height);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    painter.restore();
    for (size_t i = p.layer + 1; i < top.size(); ++i) ui::Renderer::paint(*top[i], painter);
    painter.restore();
  }
}
