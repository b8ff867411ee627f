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

void collect(const ui::View& view, graphics::Point offset, graphics::Rect clip, size_t layer,
             bool moving, std::vector<Placement>& out) {
  if (view.isHidden() || view.alpha() <= 0.01) return;
  moving = moving || !view.transform().isIdentity() || ui::Animator::shared().isAnimating(view);
  graphics::Rect frame{offset.x + view.frame().x(), offset.y + view.frame().y(),
                       view.frame().width(), view.frame().height()};
  if (view.clipsToBounds()) clip = clip.intersection(frame);
  if (auto* web = dynamic_cast<const ui::WebView*>(&view)) {
    if (auto* engine = dynamic_cast<WebKitEngine*>(&web->engine())) {
      out.push_back({engine, frame, clip.intersection(frame), layer, false, moving});
    }
  }
  graphics::Point inner{frame.x() - view.bounds().origin.x, frame.y() - view.bounds().origin.y};
  for (const auto& child : view.subviews()) collect(*child, inner, clip, layer, moving, out);
}

// The web views shown in the tree of `root`, in painting order.
std::vector<Placement> placements(const ui::View& root) {
  std::vector<Placement> placed;
  const auto& top = root.subviews();
  for (size_t i = 0; i < top.size(); ++i) {
    size_t first = placed.size();
    collect(*top[i], {}, root.bounds(), i, false, placed);
    for (size_t k = first; k < placed.size(); ++k) {
      placed[k].covered = coveredAbove(root, i, placed[k].clip);
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
    GtkWidget* web = GTK_WIDGET(engine->webView());
    gtk_fixed_move(GTK_FIXED(clip), web, px(p->frame.x() - p->clip.x()),
                   px(p->frame.y() - p->clip.y()));
    gtk_widget_set_size_request(web, px(p->frame.width()), px(p->frame.height()));
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
