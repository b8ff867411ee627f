#include "app/gui/WebViewLayer.h"

#include <cmath>
#include <map>

#include "app/gui/WebKitEngine.h"
#include "platform/ui/WebView.h"

namespace {

struct Placement {
  graphics::Rect frame;  // the web view, in root coordinates
  graphics::Rect clip;   // what of it may show
  bool covered = false;
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

void collect(ui::View& view, graphics::Point offset, graphics::Rect clip, bool covered,
             std::map<WebKitEngine*, Placement>& out) {
  if (view.isHidden() || view.alpha() <= 0.01) return;
  graphics::Rect frame{offset.x + view.frame().x(), offset.y + view.frame().y(),
                       view.frame().width(), view.frame().height()};
  if (view.clipsToBounds()) clip = clip.intersection(frame);
  if (auto* web = dynamic_cast<ui::WebView*>(&view)) {
    if (auto* engine = dynamic_cast<WebKitEngine*>(&web->engine())) {
      out[engine] = {frame, clip.intersection(frame), covered};
    }
  }
  graphics::Point inner{frame.x() - view.bounds().origin.x, frame.y() - view.bounds().origin.y};
  for (const auto& child : view.subviews()) collect(*child, inner, clip, covered, out);
}

}  // namespace

void WebViewLayer::sync(ui::View& root, double zoom) {
  std::map<WebKitEngine*, Placement> placed;
  const graphics::Rect screen = root.bounds();
  const auto& top = root.subviews();
  for (size_t i = 0; i < top.size(); ++i) {
    std::map<WebKitEngine*, Placement> here;
    collect(*top[i], {}, screen, false, here);
    for (auto& [engine, place] : here) {
      place.covered = coveredAbove(root, i, place.clip);
      placed[engine] = place;
    }
  }
  auto px = [zoom](double points) { return static_cast<int>(std::lround(points * zoom)); };
  for (WebKitEngine* engine : WebKitEngine::live()) {
    GtkWidget* clip = engine->clipBox();
    if (!gtk_widget_get_parent(clip)) gtk_fixed_put(GTK_FIXED(fixed_), clip, 0, 0);
    auto found = placed.find(engine);
    bool show = found != placed.end() && !found->second.covered && !found->second.clip.isEmpty();
    if (!show) {
      gtk_widget_set_visible(clip, FALSE);
      continue;
    }
    const Placement& p = found->second;
    gtk_fixed_move(GTK_FIXED(fixed_), clip, px(p.clip.x()), px(p.clip.y()));
    gtk_widget_set_size_request(clip, px(p.clip.width()), px(p.clip.height()));
    GtkWidget* web = GTK_WIDGET(engine->webView());
    gtk_fixed_move(GTK_FIXED(clip), web, px(p.frame.x() - p.clip.x()),
                   px(p.frame.y() - p.clip.y()));
    gtk_widget_set_size_request(web, px(p.frame.width()), px(p.frame.height()));
    if (std::abs(webkit_web_view_get_zoom_level(engine->webView()) - zoom) > 1e-6) {
      webkit_web_view_set_zoom_level(engine->webView(), zoom);
    }
    gtk_widget_set_visible(clip, TRUE);
  }
}
