#include "app/gui/WebKitEngine.h"

#include <chrono>

#include "app/gui/NestedWait.h"
#include "platform/base/RunLoop.h"
#include "platform/graphics/Painter.h"
#include "platform/net/Error.h"
#include "platform/net/Url.h"
#include "platform/ui/FormPostPage.h"
#include "platform/ui/WebEngineClient.h"

namespace {

std::set<WebKitEngine*>& engines() {
  static std::set<WebKitEngine*> all;
  return all;
}

ui::WebViewNavigationType navigationType(WebKitNavigationType type) {
  switch (type) {
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED:
      return ui::WebViewNavigationType::LinkClicked;
    case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
      return ui::WebViewNavigationType::FormSubmitted;
    case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD:
      return ui::WebViewNavigationType::BackForward;
    case WEBKIT_NAVIGATION_TYPE_RELOAD:
      return ui::WebViewNavigationType::Reload;
    case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED:
      return ui::WebViewNavigationType::FormResubmitted;
    default:
      return ui::WebViewNavigationType::Other;
  }
}

net::UrlRequest requestFor(const char* uri) {
  std::optional<net::Url> url = net::Url::parse(uri ? uri : "");
  if (!url) url = net::Url::parse(net::escapeAddress(uri ? uri : ""));
  return url ? net::UrlRequest(*url) : net::UrlRequest();
}

// WebKit's errors in the platform's URL error codes.
net::Error errorFor(const GError* error) {
  long code = net::Error::Unknown;
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) {
    code = net::Error::Cancelled;
  } else if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL)) {
    code = net::Error::UnsupportedURL;
  } else if (g_error_matches(error, WEBKIT_NETWORK_ERROR,
                             WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST)) {
    code = net::Error::FileDoesNotExist;
  } else if (error->domain == WEBKIT_NETWORK_ERROR) {
    code = net::Error::CannotConnectToHost;
  } else if (g_error_matches(error, WEBKIT_POLICY_ERROR,
                             WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    code = net::Error::FrameLoadInterrupted;
  } else if (error->domain == WEBKIT_POLICY_ERROR) {
    code = net::Error::Cancelled;
  }
  return net::Error(net::Error::kDomain, code, error->message ? error->message : "");
}

// WebKit's signals reach the client outside the reader's loop, and what the client did there (an
// alert, a new title, a pushed screen) shows only when the window refreshes: an empty turn of the
// reader's loop makes it repaint and place the web views again.
void afterReport() {
  base::RunLoop::main().post([] {});
}

// A picture asked of WebKit; the engine may be gone when it arrives.
struct SnapshotRequest {
  std::shared_ptr<bool> alive;
  WebKitEngine* engine;
  unsigned number;
};

// The clipping box asks for no size of its own (the window sets it) and lays its web view out at
// the place stored on it, however large: what overflows the box is hidden. A GtkFixed would
// grow to its child instead, and the page would cover what lies beside it.
constexpr const char* kPlaceKey = "vemo-place";

void measureNothing(GtkWidget*, GtkOrientation, int, int* minimum, int* natural,
                    int* minimumBaseline, int* naturalBaseline) {
  *minimum = *natural = 0;
  *minimumBaseline = *naturalBaseline = -1;
}

void allocateView(GtkWidget* box, int, int, int) {
  GtkWidget* view = gtk_widget_get_first_child(box);
  auto* place = static_cast<GdkRectangle*>(g_object_get_data(G_OBJECT(box), kPlaceKey));
  if (!view || !place) return;
  int unused;
  gtk_widget_measure(view, GTK_ORIENTATION_HORIZONTAL, -1, &unused, &unused, nullptr, nullptr);
  gtk_widget_measure(view, GTK_ORIENTATION_VERTICAL, -1, &unused, &unused, nullptr, nullptr);
  gtk_widget_size_allocate(view, place, -1);
}

}  // namespace

const std::set<WebKitEngine*>& WebKitEngine::live() {
  return engines();
}

WebKitEngine::WebKitEngine()
    : clip_(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0)),
      view_(WEBKIT_WEB_VIEW(webkit_web_view_new())) {
  g_object_ref_sink(clip_);
  gtk_widget_set_layout_manager(clip_,
                                gtk_custom_layout_new(nullptr, measureNothing, allocateView));
  g_object_set_data_full(G_OBJECT(clip_), kPlaceKey, g_new0(GdkRectangle, 1), g_free);
  gtk_widget_set_overflow(clip_, GTK_OVERFLOW_HIDDEN);
  gtk_widget_set_visible(clip_, FALSE);
  gtk_box_append(GTK_BOX(clip_), GTK_WIDGET(view_));
  g_signal_connect(view_, "decide-policy", G_CALLBACK(onDecidePolicy), this);
  g_signal_connect(view_, "load-changed", G_CALLBACK(onLoadChanged), this);
  g_signal_connect(view_, "load-failed", G_CALLBACK(onLoadFailed), this);
  g_signal_connect(view_, "notify::title", G_CALLBACK(onTitle), this);
  engines().insert(this);
}

WebKitEngine::~WebKitEngine() {
  engines().erase(this);
  *alive_ = false;
  g_cancellable_cancel(snapshotCancel_);
  g_object_unref(snapshotCancel_);
  if (snapshot_) cairo_surface_destroy(snapshot_);
  g_signal_handlers_disconnect_by_data(view_, this);
  webkit_web_view_stop_loading(view_);
  if (GtkWidget* parent = gtk_widget_get_parent(clip_)) gtk_fixed_remove(GTK_FIXED(parent), clip_);
  // The engine may be destroyed from inside one of WebKit's signals: the last reference goes once
  // the signal is over.
  g_idle_add_once([](gpointer clip) { g_object_unref(clip); }, clip_);
}

void WebKitEngine::placeView(const GdkRectangle& place) {
  auto* current = static_cast<GdkRectangle*>(g_object_get_data(G_OBJECT(clip_), kPlaceKey));
  if (gdk_rectangle_equal(current, &place)) return;
  *current = place;
  gtk_widget_queue_allocate(clip_);
}

void WebKitEngine::loadRequest(const net::UrlRequest& request) {
  failed_ = false;
  posting_ = Posting::None;
  postRequest_.reset();
  const std::string& method = request.httpMethod();
  const std::string address = request.url().absoluteString();
  if (method.empty() || g_ascii_strcasecmp(method.c_str(), "GET") == 0) {
    WebKitURIRequest* load = webkit_uri_request_new(address.c_str());
    if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(load)) {
      for (const auto& [name, value] : request.allHeaderFields()) {
        soup_message_headers_replace(headers, name.c_str(), value.c_str());
      }
    }
    webkit_web_view_load_request(view_, load);
    g_object_unref(load);
    return;
  }
  std::optional<std::string> page;
  if (g_ascii_strcasecmp(method.c_str(), "POST") == 0) page = ui::FormPostPage::html(request);
  if (!page) {
    failSoon(net::Error(net::Error::kDomain, net::Error::UnsupportedURL,
                        "A web view loads only GET requests and POSTs of form bodies"));
    return;
  }
  posting_ = Posting::Page;
  postRequest_ = request;
  // The page has the target's address, so that its form posts from the target's own origin.
  webkit_web_view_load_html(view_, page->c_str(), address.c_str());
}

void WebKitEngine::failSoon(const net::Error& error) {
  // Reported on the next turn, as a load failure always is.
  std::weak_ptr<bool> alive = alive_;
  base::RunLoop::main().post([this, alive, error] {
    auto live = alive.lock();
    if (!live || !*live) return;
    if (ui::WebEngineClient* client = this->client()) client->engineDidFailLoad(error);
  });
}

void WebKitEngine::loadHTMLString(const std::string& html, const std::optional<net::Url>& baseURL) {
  failed_ = false;
  webkit_web_view_load_html(view_, html.c_str(),
                            baseURL ? baseURL->absoluteString().c_str() : nullptr);
}

void WebKitEngine::goBack() {
  webkit_web_view_go_back(view_);
}

void WebKitEngine::goForward() {
  webkit_web_view_go_forward(view_);
}

void WebKitEngine::reload() {
  webkit_web_view_reload(view_);
}

void WebKitEngine::stopLoading() {
  webkit_web_view_stop_loading(view_);
}

bool WebKitEngine::canGoBack() const {
  return webkit_web_view_can_go_back(view_);
}

bool WebKitEngine::canGoForward() const {
  return webkit_web_view_can_go_forward(view_);
}

bool WebKitEngine::isLoading() const {
  return webkit_web_view_is_loading(view_);
}

std::optional<net::UrlRequest> WebKitEngine::currentRequest() const {
  const char* uri = webkit_web_view_get_uri(view_);
  if (!uri || !*uri) return std::nullopt;
  return requestFor(uri);
}

std::string WebKitEngine::evaluateScript(const std::string& script) {
  if (script == "document.title") return title_;
  struct Wait {
    bool done = false;
    std::string result;
  };
  auto wait = std::make_shared<Wait>();
  auto* keep = new std::shared_ptr<Wait>(wait);
  webkit_web_view_evaluate_javascript(
      view_, script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr, nullptr,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        std::unique_ptr<std::shared_ptr<Wait>> w(static_cast<std::shared_ptr<Wait>*>(data));
        GError* error = nullptr;
        JSCValue* value =
            webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
        if (value) {
          if (!jsc_value_is_undefined(value) && !jsc_value_is_null(value)) {
            char* text = jsc_value_to_string(value);
            (*w)->result = text ? text : "";
            g_free(text);
          }
          g_object_unref(value);
        }
        if (error) g_error_free(error);
        (*w)->done = true;
      },
      keep);
  NestedWait nested;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!wait->done && std::chrono::steady_clock::now() < deadline) {
    g_main_context_iteration(nullptr, TRUE);
  }
  return wait->result;
}

gboolean WebKitEngine::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer self) {
  auto* engine = static_cast<WebKitEngine*>(self);
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  const WebKitNavigationType kind = webkit_navigation_action_get_navigation_type(action);
  // The posting page loads unasked; its submission is the load the client asked for.
  std::optional<net::UrlRequest> asked;
  if (engine->posting_ == Posting::Page) {
    if (kind != WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED) return FALSE;
    asked = std::move(engine->postRequest_);
    engine->postRequest_.reset();
    engine->posting_ = Posting::Submitted;
  }
  ui::WebEngineClient* client = engine->client();
  if (!client) return FALSE;
  g_object_ref(decision);
  std::shared_ptr<bool> alive = engine->alive_;
  bool accept = client->engineShouldStartLoad(
      asked ? *asked : requestFor(webkit_uri_request_get_uri(request)),
      asked ? ui::WebViewNavigationType::Other : navigationType(kind));
  if (asked && !accept && *alive) engine->posting_ = Posting::None;
  if (accept && *alive) {
    webkit_policy_decision_use(decision);
  } else {
    webkit_policy_decision_ignore(decision);
  }
  g_object_unref(decision);
  return TRUE;
}

void WebKitEngine::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  auto* engine = static_cast<WebKitEngine*>(self);
  ui::WebEngineClient* client = engine->client();
  if (engine->posting_ != Posting::None) {
    // The posting page's events stay unreported; the submission's start ends the posting.
    if (event != WEBKIT_LOAD_STARTED || engine->posting_ == Posting::Page) return;
    engine->posting_ = Posting::None;
  }
  if (event == WEBKIT_LOAD_STARTED) {
    engine->failed_ = false;
    engine->finished_ = false;
    if (client) client->engineDidStartLoad();
    afterReport();
  } else if (event == WEBKIT_LOAD_FINISHED && !engine->failed_) {
    // Pictured first: the client may destroy the engine when it hears of the finish.
    engine->takeSnapshot();
    engine->finished_ = true;
    if (client) client->engineDidFinishLoad();
    afterReport();
  }
}

gboolean WebKitEngine::onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error,
                                    gpointer self) {
  auto* engine = static_cast<WebKitEngine*>(self);
  if (engine->posting_ != Posting::None) {
    // The posting page cut short by its own submission; any other failure ends the posting.
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) return TRUE;
    engine->posting_ = Posting::None;
    engine->postRequest_.reset();
  }
  engine->failed_ = true;
  if (ui::WebEngineClient* client = engine->client()) client->engineDidFailLoad(errorFor(error));
  afterReport();
  // Handled: the page on screen stays (WebKit would otherwise load its own error page over it,
  // as a new load the client never asked for).
  return TRUE;
}

// Titles met while loading are read by the client when the load finishes; one that arrives
// later (set by the page's script, or reported after the finish) is announced.
void WebKitEngine::onTitle(GObject*, GParamSpec*, gpointer self) {
  auto* engine = static_cast<WebKitEngine*>(self);
  const char* title = webkit_web_view_get_title(engine->view_);
  std::string now = title ? title : "";
  if (now == engine->title_) return;
  engine->title_ = std::move(now);
  ui::WebEngineClient* client = engine->client();
  if (engine->finished_ && client) {
    client->engineDidChangeTitle();
    afterReport();
  }
}

void WebKitEngine::takeSnapshot() {
  webkit_web_view_get_snapshot(view_, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE,
                               snapshotCancel_, onSnapshot,
                               new SnapshotRequest{alive_, this, ++snapshotsAsked_});
}

void WebKitEngine::onSnapshot(GObject* source, GAsyncResult* result, gpointer data) {
  std::unique_ptr<SnapshotRequest> request(static_cast<SnapshotRequest*>(data));
  GError* error = nullptr;
  GdkTexture* texture =
      webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), result, &error);
  if (error) g_error_free(error);
  if (!texture) return;
  WebKitEngine* engine = *request->alive ? request->engine : nullptr;
  if (engine && request->number > engine->snapshotShown_) {
    int width = gdk_texture_get_width(texture), height = gdk_texture_get_height(texture);
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(picture) == CAIRO_STATUS_SUCCESS && width > 0 && height > 0) {
      // GDK's default memory format is Cairo's ARGB32: premultiplied, native-endian words.
      cairo_surface_flush(picture);
      gdk_texture_download(texture, cairo_image_surface_get_data(picture),
                           static_cast<gsize>(cairo_image_surface_get_stride(picture)));
      cairo_surface_mark_dirty(picture);
      if (engine->snapshot_) cairo_surface_destroy(engine->snapshot_);
      engine->snapshot_ = picture;
      engine->snapshotShown_ = request->number;
      if (engine->snapshotListener_) engine->snapshotListener_();
    } else {
      cairo_surface_destroy(picture);
    }
  }
  g_object_unref(texture);
}

void WebKitEngine::setPictured(bool pictured) {
  pictured_ = pictured;
}

void WebKitEngine::drawPicture(graphics::Painter& painter, const graphics::Rect& area) const {
  if (!pictured_ || !snapshot_) return;
  const int width = cairo_image_surface_get_width(snapshot_);
  const int height = cairo_image_surface_get_height(snapshot_);
  if (width <= 0 || height <= 0) return;
  // The picture has the widget's pixels; it fills the web view.
  cairo_t* cr = painter.context();
  cairo_save(cr);
  cairo_translate(cr, area.x(), area.y());
  cairo_scale(cr, area.width() / width, area.height() / height);
  cairo_set_source_surface(cr, snapshot_, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr, painter.alpha());
  cairo_restore(cr);
}

void WebKitEngine::setCovered(bool covered) {
  if (covered && !covered_) takeSnapshot();
  covered_ = covered;
}
