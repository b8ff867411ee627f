#include "app/gui/MainWindow.h"

#include "app/gui/NestedWait.h"
#include "app/gui/WebKitModule.h"
#include "app/shell/AccountsViewController.h"
#include "app/shell/ReaderSession.h"
#include "app/shell/ScreenDriver.h"
#include "facebook/FBDialog.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "reader/screens/DetailViewController.h"
#include "reader/screens/SapoViewController.h"
#include "reader/screens/ThumbnailCache.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKCustomShareMenu.h"

namespace {

// The lead reader's pager.
constexpr int kPagerTag = 9999;

// The interface orientations met by turning the device clockwise, a quarter turn each.
constexpr ui::InterfaceOrientation kClockwise[] = {
    ui::InterfaceOrientation::Portrait, ui::InterfaceOrientation::LandscapeLeft,
    ui::InterfaceOrientation::PortraitUpsideDown, ui::InterfaceOrientation::LandscapeRight};

int positionOf(ui::DeviceOrientation device) {
  for (int i = 0; i < 4; ++i) {
    if (ui::deviceOrientationFor(kClockwise[i]) == device) return i;
  }
  return 0;
}

std::int64_t now() {
  return g_get_monotonic_time();
}

// The network activity indicator turns a spoke this often.
constexpr guint kActivityStepMs = 80;

}  // namespace

MainWindow::MainWindow(ReaderSession& session, double zoom)
    : session_(session),
      zoom_(zoom),
      window_(GTK_WINDOW(gtk_window_new())),
      drawing_(gtk_drawing_area_new()),
      fixed_(gtk_fixed_new()),
      pointer_([this]() -> ui::View* { return &session_.window(); }) {
  gtk_window_set_title(window_, "Vemo");
  gtk_window_set_resizable(window_, FALSE);
  // The drawing first, the web views' clipping boxes after it (on top).
  gtk_fixed_put(GTK_FIXED(fixed_), drawing_, 0, 0);
  gtk_window_set_child(window_, fixed_);
  gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(drawing_), onDraw, this, nullptr);

  GtkGesture* drag = gtk_gesture_drag_new();
  gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(drag), GDK_BUTTON_PRIMARY);
  g_signal_connect(drag, "drag-begin", G_CALLBACK(onPress), this);
  g_signal_connect(drag, "drag-update", G_CALLBACK(onDragUpdate), this);
  g_signal_connect(drag, "drag-end", G_CALLBACK(onDragEnd), this);
  gtk_widget_add_controller(drawing_, GTK_EVENT_CONTROLLER(drag));

  GtkEventController* scroll = gtk_event_controller_scroll_new(GtkEventControllerScrollFlags(
      GTK_EVENT_CONTROLLER_SCROLL_BOTH_AXES | GTK_EVENT_CONTROLLER_SCROLL_DISCRETE));
  g_signal_connect(scroll, "scroll", G_CALLBACK(onScroll), this);
  gtk_widget_add_controller(drawing_, scroll);

  GtkEventController* motion = gtk_event_controller_motion_new();
  g_signal_connect(motion, "motion", G_CALLBACK(onMotion), this);
  gtk_widget_add_controller(drawing_, motion);

  GtkEventController* keys = gtk_event_controller_key_new();
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  g_signal_connect(keys, "key-pressed", G_CALLBACK(onKey), this);
  gtk_widget_add_controller(GTK_WIDGET(window_), keys);

  g_signal_connect(window_, "realize", G_CALLBACK(onRealize), this);
  textLayer_ = std::make_unique<TextEntryLayer>(window_, fixed_, [this] { refresh(); });
  activityTimer_ = g_timeout_add(kActivityStepMs, onActivityTick, this);
  resizeToScreen();
}

MainWindow::~MainWindow() {
  g_source_remove(activityTimer_);
  g_signal_handlers_disconnect_by_data(window_, this);
  textLayer_.reset();
  gtk_window_destroy(window_);
}

void MainWindow::present() {
  gtk_window_present(window_);
}

void MainWindow::resizeToScreen() {
  graphics::Size size = session_.window().frame().size;
  if (size.width == shownWidth_ && size.height == shownHeight_) return;
  shownWidth_ = size.width;
  shownHeight_ = size.height;
  int w = static_cast<int>(size.width * zoom_), h = static_cast<int>(size.height * zoom_);
  gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(drawing_), w);
  gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(drawing_), h);
  gtk_widget_set_size_request(drawing_, w, h);
  gtk_window_set_default_size(window_, w, h);
}

void MainWindow::refresh() {
  resizeToScreen();
  session_.window().layoutIfNeeded();
  // Until the WebKit module is open no web view exists to place.
  if (WebKitModule* web = WebKitModule::loaded())
    web->syncWebViews(fixed_, drawing_, session_.window(), zoom_);
  textLayer_->sync(session_.window(), zoom_);
  gtk_widget_queue_draw(drawing_);
}

void MainWindow::turn(int direction) {
  int position = positionOf(ui::Application::shared().deviceOrientation());
  ui::Application::shared().rotate(kClockwise[(position + direction + 4) % 4]);
  refresh();
}

bool MainWindow::showShareMenu(bool picture) {
  if (ui::Application::shared().isIgnoringInteractionEvents()) return false;
  ui::ViewController* top = session_.topScreen();
  ItemPtr story;
  auto* lead = dynamic_cast<SapoViewController*>(top);
  if (lead) {
    int index = lead->itemIndex();
    if (index >= 0 && size_t(index) < lead->stories().size()) story = lead->stories()[index];
  } else if (auto* article = dynamic_cast<DetailViewController*>(top)) {
    story = article->currentItem();
  }
  std::shared_ptr<SHKItem> item;
  if (picture) {
    graphics::ImagePtr image =
        lead && story && story->imgLink ? lead->pictures().imageFor(*story->imgLink) : nullptr;
    if (!image) return false;
    item = SHKItem::image(image, story->title);
  } else {
    if (!story || !story->link) return false;
    auto url = net::Url::parse(*story->link);
    if (!url) return false;
    item = SHKItem::URL(*url, story->title);
  }
  auto menu = std::make_shared<SHKCustomShareMenu>();
  menu->setItem(item);
  SHK::currentHelper().showViewController(std::make_shared<ui::NavigationController>(menu));
  return true;
}

bool MainWindow::pageLeadReader(int direction) {
  ui::ViewController* top = session_.topScreen();
  ui::View* pagerView = top ? top->view()->viewWithTag(kPagerTag) : nullptr;
  auto* pager = dynamic_cast<ui::ScrollView*>(pagerView);
  if (!pager || !ScreenDriver::isShown(*pager) ||
      ui::Application::shared().isIgnoringInteractionEvents()) {
    return false;
  }
  // A flick of a quarter page: the pager snaps to the neighbouring page and reports the end of
  // its deceleration, as after a swipe.
  double width = pager->bounds().width();
  pager->beginDrag();
  pager->dragBy(-direction * width / 4, 0);
  pager->endDrag({-direction * 1000.0, 0});
  return true;
}

bool MainWindow::goBack() {
  ui::ViewController* top = session_.topScreen();
  ui::Button* back = top ? ScreenDriver::findButton(*top->view(), "exit.png") : nullptr;
  if (!back || !ScreenDriver::isShown(*back)) return false;
  graphics::Point centre = back->convertPointToView(back->bounds().center(), nullptr);
  return ui::tap(session_.window(), centre);
}

void MainWindow::onDraw(GtkDrawingArea*, cairo_t* cr, int, int, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  cairo_scale(cr, w->zoom_, w->zoom_);
  graphics::Painter painter(cr);
  const ui::Window& root = w->session_.window();
  painter.fillRect({{0, 0}, root.frame().size}, graphics::Color::black());
  ui::RenderOptions options;
  options.activityStep = static_cast<int>(now() / (kActivityStepMs * 1000) % 12);
  ui::Renderer::paintScreen(root, painter, options);
  if (WebKitModule* web = WebKitModule::loaded()) web->paintCovered(root, painter);
}

gboolean MainWindow::onKey(GtkEventControllerKey*, guint keyval, guint, GdkModifierType state,
                           gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (NestedWait::active()) return FALSE;
  const bool ctrl = state & GDK_CONTROL_MASK, alt = state & GDK_ALT_MASK;
  const bool turning = ctrl && (keyval == GDK_KEY_Left || keyval == GDK_KEY_Right);
  // While a text editor is shown the keys are typed into it; Escape ends the editing.
  if (w->textLayer_->isEditing() && !turning) {
    if (keyval != GDK_KEY_Escape) return FALSE;
    w->textLayer_->endEditing();
    w->refresh();
    return TRUE;
  }
  // Escape closes a Facebook panel on top, as its close button does.
  auto* dialog = dynamic_cast<FBDialog*>(w->session_.window().topAttachedView());
  if (keyval == GDK_KEY_Escape && dialog && !dialog->isDismissed()) {
    dialog->cancel();
    w->refresh();
    return TRUE;
  }
  // A panel over the screens (a web page's log-in or publishing form) takes the keys: the
  // reader's shortcuts would page, close or open the screens under it.
  if (w->session_.window().hasAttachedViews() && !turning) return FALSE;
  bool handled = false;
  if (turning) {
    if (!ui::Application::shared().isIgnoringInteractionEvents())
      w->turn(keyval == GDK_KEY_Right ? 1 : -1);
    handled = true;
  } else if (keyval == GDK_KEY_Escape || (alt && keyval == GDK_KEY_Left)) {
    handled = !ui::Application::shared().isIgnoringInteractionEvents() && w->goBack();
  } else if (ctrl && (state & GDK_SHIFT_MASK) && (keyval == GDK_KEY_A || keyval == GDK_KEY_a)) {
    AccountsViewController::present();
    handled = true;
  } else if (ctrl && (state & GDK_SHIFT_MASK) && (keyval == GDK_KEY_S || keyval == GDK_KEY_s)) {
    handled = w->showShareMenu();
  } else if (ctrl && (state & GDK_SHIFT_MASK) && (keyval == GDK_KEY_P || keyval == GDK_KEY_p)) {
    handled = w->showShareMenu(true);
  } else if (!ctrl && !alt && (keyval == GDK_KEY_Left || keyval == GDK_KEY_Right)) {
    handled = w->pageLeadReader(keyval == GDK_KEY_Right ? 1 : -1);
  }
  if (handled) w->refresh();
  return handled;
}

void MainWindow::onRealize(GtkWidget*, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(w->window_));
  if (surface) g_signal_connect(surface, "notify::state", G_CALLBACK(onToplevelState), w);
}

// Minimizing sends the application to the background; coming back from it makes it active again
// (and the screens reload). Keyboard focus moving in and out changes nothing.
void MainWindow::onToplevelState(GObject* surface, GParamSpec*, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  GdkToplevelState state = gdk_toplevel_get_state(GDK_TOPLEVEL(surface));
  bool minimized = state & GDK_TOPLEVEL_STATE_MINIMIZED;
  if (minimized == w->minimized_) return;
  w->minimized_ = minimized;
  if (minimized) {
    ui::Application::shared().enterBackground();
  } else {
    ui::Application::shared().enterForeground();
  }
  w->refresh();
}

void MainWindow::onPress(GtkGestureDrag*, double x, double y, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (NestedWait::active()) return;
  // A press on the drawing takes the keyboard from the text editor.
  if (w->textLayer_->isEditing()) w->textLayer_->endEditing();
  w->dragStart_ = {x, y};
  w->pointer_.press(w->toPoints(x, y), now());
  w->refresh();
}

void MainWindow::onDragUpdate(GtkGestureDrag*, double dx, double dy, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (NestedWait::active()) return;
  w->pointer_.move(w->toPoints(w->dragStart_.x + dx, w->dragStart_.y + dy), now());
  w->refresh();
}

void MainWindow::onDragEnd(GtkGestureDrag*, double dx, double dy, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (NestedWait::active()) return;
  w->pointer_.release(w->toPoints(w->dragStart_.x + dx, w->dragStart_.y + dy), now());
  w->refresh();
}

gboolean MainWindow::onScroll(GtkEventControllerScroll*, double dx, double dy, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (NestedWait::active()) return FALSE;
  w->pointer_.wheel(w->hover_, dx, dy);
  w->refresh();
  return TRUE;
}

gboolean MainWindow::onActivityTick(gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  const bool shown = ui::Application::shared().isNetworkActivityIndicatorVisible();
  if (shown || w->activityShown_) gtk_widget_queue_draw(w->drawing_);
  w->activityShown_ = shown;
  return G_SOURCE_CONTINUE;
}

void MainWindow::onMotion(GtkEventControllerMotion*, double x, double y, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  w->hover_ = w->toPoints(x, y);
}
