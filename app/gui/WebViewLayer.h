#pragma once
#include <gtk/gtk.h>

namespace ui {
class View;
}

// Places the live web views over the window's drawing: each WebKit engine's widget goes where its
// ui::WebView lies on screen, clipped like the views it lies in. A web view that is hidden, off
// the tree, or covered by something drawn above it (an alert, an action sheet, an activity
// indicator or a presented screen — all laid on the window above the screens) is taken off
// screen, because native widgets would otherwise paint over those.
class WebViewLayer {
 public:
  // `fixed` is the GtkFixed holding the drawing area; the web views go above it.
  explicit WebViewLayer(GtkWidget* fixed) : fixed_(fixed) {}

  // Brings every widget in line with the view tree of `root` at `zoom` pixels per point.
  void sync(ui::View& root, double zoom);

 private:
  GtkWidget* fixed_;
};
