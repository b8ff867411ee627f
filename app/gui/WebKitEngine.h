#pragma once
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/ui/WebEngine.h"

// A web engine backed by a WebKitWebView (WebKitGTK 6). Every navigation of the main frame is put
// to the client before it starts; load start, finish and failure are reported as WebKit tells
// them. The widget lives inside a clipping box (a GtkFixed that hides what overflows) which the
// window places over its drawing; the engine removes both when it goes away.
//
// Native widgets paint above the window's drawing, so while something drawn covers the web view
// the window hides the live widget and paints a picture of the page in its place: the engine
// pictures the visible page after every finished load and again when the covering starts.
class WebKitEngine : public ui::WebEngine {
 public:
  WebKitEngine();
  ~WebKitEngine() override;

  // The engines alive now, for the window to place.
  static const std::set<WebKitEngine*>& live();

  GtkWidget* clipBox() const { return clip_; }
  WebKitWebView* webView() const { return view_; }

  // The visible page as last pictured (premultiplied ARGB, the widget's pixels), or null before
  // the first picture arrived. Owned by the engine; valid until the next picture replaces it.
  cairo_surface_t* snapshot() const { return snapshot_; }
  // Pictures the visible page; the picture arrives later and replaces the previous one.
  void takeSnapshot();
  // Tells the engine whether the window shows its picture instead of the live view; covering
  // starts with a fresh picture (the page may have scrolled or changed since the last one).
  void setCovered(bool covered);
  // Tells the engine whether its web view is moving (animated or transformed): the window then
  // hides the live view and the drawing paints the picture with the view's own geometry.
  void setPictured(bool pictured);
  void drawPicture(graphics::Painter& painter, const graphics::Rect& area) const override;
  // Called each time a new picture is in place, so that the window repaints it.
  void setSnapshotListener(std::function<void()> listener) {
    snapshotListener_ = std::move(listener);
  }

  // A GET goes out with the request's header fields. WebKit loads nothing else with a body, so a
  // form POST (multipart or form-encoded) is sent by a page that submits the request's fields at
  // once (its header fields other than the content type are not sent); the client hears of the
  // request as given, not of that page. Other methods, and POSTs of other bodies, fail the load.
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
  static void onSnapshot(GObject* source, GAsyncResult* result, gpointer data);

  // A form POST being sent: the page that submits it is loading (Page), or the submission was
  // accepted and its load is about to start (Submitted). The page's own events are not reported.
  enum class Posting { None, Page, Submitted };
  void failSoon(const net::Error& error);

  GtkWidget* clip_;
  Posting posting_ = Posting::None;
  std::optional<net::UrlRequest> postRequest_;
  WebKitWebView* view_;
  std::string title_;
  bool failed_ = false;
  // Between a reported finish and the next load's start: a new title is news to the client.
  bool finished_ = false;
  bool covered_ = false;
  bool pictured_ = false;
  cairo_surface_t* snapshot_ = nullptr;
  // Pictures are numbered as asked; an older one arriving late does not replace a newer one.
  unsigned snapshotsAsked_ = 0, snapshotShown_ = 0;
  GCancellable* snapshotCancel_ = g_cancellable_new();
  std::function<void()> snapshotListener_;
  bool scalesPageToFit_ = false;
  // Lets a signal handler notice that the client destroyed the engine.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
