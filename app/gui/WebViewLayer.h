#pragma once
#include <gtk/gtk.h>

namespace graphics {
class Painter;
}
namespace ui {
class View;
}

// Places the live web views over the window's drawing: each WebKit engine's widget goes where its
// ui::WebView lies on screen now, clipped like the views it lies in, and leaves out what views
// drawn over it lay across its whole width or height (the article reader's footer, which the page
// lies under). A web view that is hidden or off the tree is taken off screen. So is one covered by
// something drawn above it (an alert, an action sheet, an activity indicator or a presented screen
// — all laid on the window above the screens), because native widgets would paint over those; the
// drawing then shows the page's picture in its place, under what covers it.
class WebViewLayer {
 public:
  // `fixed` is the GtkFixed holding `drawing`; the web views go above it.
  WebViewLayer(GtkWidget* fixed, GtkWidget* drawing) : fixed_(fixed), drawing_(drawing) {}

  // Brings every widget in line with the view tree of `root` at `zoom` pixels per point.
  void sync(ui::View& root, double zoom);

  // After the screen of `root` was painted: paints the pictures of the covered web views in their
  // places and what covers them over those again. The painter's origin is the screen's corner.
  static void paintCovered(const ui::View& root, graphics::Painter& painter);

 private:
  GtkWidget* fixed_;
  GtkWidget* drawing_;
};
