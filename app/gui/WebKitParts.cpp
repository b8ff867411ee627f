#include "app/gui/WebKitParts.h"

#include "app/gui/WebKitEngine.h"
#include "app/gui/WebViewLayer.h"

std::unique_ptr<ui::WebEngine> WebKitParts::makeEngine() {
  return std::make_unique<WebKitEngine>();
}

std::vector<WebKitParts::Cookie> WebKitParts::cookies() {
  return jar_.cookies();
}

void WebKitParts::addCookie(const Cookie& cookie) {
  jar_.engineAdd(cookie);
}

void WebKitParts::deleteCookie(const Cookie& cookie) {
  jar_.engineDelete(cookie);
}

void WebKitParts::syncWebViews(GtkWidget* fixed, GtkWidget* drawing, ui::View& root, double zoom) {
  WebViewLayer(fixed, drawing).sync(root, zoom);
}

void WebKitParts::paintCovered(const ui::View& root, graphics::Painter& painter) {
  WebViewLayer::paintCovered(root, painter);
}

extern "C" WebKitModule* vemo_webkit_module() {
  static WebKitParts parts;
  return &parts;
}
