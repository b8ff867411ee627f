#pragma once
#include "app/gui/WebKitCookieJar.h"
#include "app/gui/WebKitModule.h"

// What the WebKit module hands the program: WebKit engines, WebKit's cookie jar and the layer of
// live web views, behind the module's interface.
class WebKitParts final : public WebKitModule {
 public:
  std::unique_ptr<ui::WebEngine> makeEngine() override;
  std::vector<Cookie> cookies() override;
  void addCookie(const Cookie& cookie) override;
  void deleteCookie(const Cookie& cookie) override;
  void syncWebViews(GtkWidget* fixed, GtkWidget* drawing, ui::View& root, double zoom) override;
  void paintCovered(const ui::View& root, graphics::Painter& painter) override;

 private:
  WebKitCookieJar jar_;
};
