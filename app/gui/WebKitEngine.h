#pragma once
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <memory>
#include <set>
#include <string>

#include "platform/ui/WebEngine.h"

// A web engine backed by a WebKitWebView (WebKitGTK 6). Every navigation of the main frame is put
// to the client before it starts; load start, finish and failure are reported as WebKit tells
// them. The widget lives inside a clipping box (a GtkFixed that hides what overflows) which the
// window places over its drawing; the engine removes both when it goes away.
class WebKitEngine : public ui::WebEngine {
 public:
  WebKitEngine();
  ~WebKitEngine() override;

  // The engines alive now, for the window to place.
  static const std::set<WebKitEngine*>& live();

  GtkWidget* clipBox() const { return clip_; }
  WebKitWebView* webView() const { return view_; }

  void loadRequest(const net::UrlRequest& request) override;
  void loadHTMLString(const std::string& html, const std::optional<net::Url>& baseURL) override;
  void goBack() override;
  void goForward() override;
  void reload() override;
  void stopLoading() override;
  bool canGoBack() const override;
  bool canGoForward() const override;
  bool isLoading() const override;
  std::optional<net::UrlRequest> currentRequest() const override;
  // "document.title" is answered from the page's title as WebKit last reported it; any other
  // script runs in the page and is waited for (up to 5 seconds).
  std::string evaluateScript(const std::string& script) override;
  // WebKit lays pages out for the view's width (the page's viewport); the flag is kept as set.
  void setScalesPageToFit(bool scales) override { scalesPageToFit_ = scales; }

 private:
  static gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                 gpointer self);
  static void onLoadChanged(WebKitWebView*, WebKitLoadEvent, gpointer self);
  static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError*, gpointer self);
  static void onTitle(GObject*, GParamSpec*, gpointer self);

  GtkWidget* clip_;
  WebKitWebView* view_;
  std::string title_;
  bool failed_ = false;
  bool scalesPageToFit_ = false;
  // Lets a signal handler notice that the client destroyed the engine.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
