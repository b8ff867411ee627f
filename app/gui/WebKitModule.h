#pragma once
#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/WebCookieJar.h"

namespace graphics {
class Painter;
}
namespace ui {
class View;
class WebEngine;
}  // namespace ui

// The window's WebKit-backed parts (the web engines, their cookie jar and the layer placing their
// widgets) are built into a module of their own, libvemo-webkit.so, so that WebKit and the many
// libraries it needs load when the first web view appears rather than before the program starts.
// The module hands out one object of this kind; the program reaches WebKit only through it.
class WebKitModule {
 public:
  using Cookie = ui::WebCookieJar::Cookie;

  virtual ~WebKitModule() = default;

  // The module's file: next to the program (the build tree), else in the library folder installed
  // with it (found relative to the program, then at the configured prefix); empty when none holds
  // it.
  static std::string file();
  // The module, opened on the first call. A module that cannot be opened ends the program with
  // the loader's message: the window cannot show a web page without it.
  static WebKitModule& load();
  // The module if it was opened, else null (and then no web view exists yet).
  static WebKitModule* loaded();

  // A web engine backed by a WebKit web view.
  virtual std::unique_ptr<ui::WebEngine> makeEngine() = 0;

  // WebKit's own cookie jar, shared by every web view.
  virtual std::vector<Cookie> cookies() = 0;
  virtual void addCookie(const Cookie& cookie) = 0;
  virtual void deleteCookie(const Cookie& cookie) = 0;

  // Places the live web views over `drawing` (inside the GtkFixed `fixed`) where the view tree of
  // `root` shows them, at `zoom` pixels per point.
  virtual void syncWebViews(GtkWidget* fixed, GtkWidget* drawing, ui::View& root, double zoom) = 0;
  // Paints the pictures of covered web views, and what covers them, after the screen was painted.
  virtual void paintCovered(const ui::View& root, graphics::Painter& painter) = 0;
};

// The module's entry point, looked up by this name once the module is open.
extern "C" WebKitModule* vemo_webkit_module();
