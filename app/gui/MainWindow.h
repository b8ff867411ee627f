#pragma once
#include <gtk/gtk.h>

#include <memory>

#include "app/gui/PointerInput.h"
#include "app/gui/TextEntryLayer.h"
#include "platform/ui/InterfaceOrientation.h"

class ReaderSession;

// The desktop window showing the reader's screen: the view tree painted with Cairo at `zoom`
// logical pixels per point (GTK adds the monitor's own scale), the live web views stacked above
// it (pictures of them in the drawing while something covers them), a native editor over the
// focused text field or text view, pointer and keyboard input,
// rotation (Ctrl+Left / Ctrl+Right) and activation when the window comes back from being minimized.
// While the application ignores interaction events (a download is under way) the window keeps
// painting and drops pointer and key input.
class MainWindow {
 public:
  MainWindow(ReaderSession& session, double zoom);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  GtkWindow* window() const { return window_; }
  void present();
  // After the reader's loop ran: repaints, follows a turn of the screen, places the web views.
  void refresh();
  // Turns the device a quarter turn clockwise (1) or anticlockwise (-1).
  void turn(int direction);

 private:
  static void onDraw(GtkDrawingArea*, cairo_t* cr, int width, int height, gpointer self);
  static gboolean onKey(GtkEventControllerKey*, guint keyval, guint keycode, GdkModifierType state,
                        gpointer self);
  static void onToplevelState(GObject*, GParamSpec*, gpointer self);
  static void onRealize(GtkWidget*, gpointer self);
  static void onPress(GtkGestureDrag*, double x, double y, gpointer self);
  static void onDragUpdate(GtkGestureDrag*, double dx, double dy, gpointer self);
  static void onDragEnd(GtkGestureDrag*, double dx, double dy, gpointer self);
  static gboolean onScroll(GtkEventControllerScroll*, double dx, double dy, gpointer self);
  static void onMotion(GtkEventControllerMotion*, double x, double y, gpointer self);
  static gboolean onActivityTick(gpointer self);

  graphics::Point toPoints(double x, double y) const { return {x / zoom_, y / zoom_}; }
  void resizeToScreen();
  bool pageLeadReader(int direction);
  // Ctrl+Shift+S: the share menu for the story on screen (lead or article reader); with
  // `picture`, Ctrl+Shift+P, for the lead reader's current picture once it has arrived.
  bool showShareMenu(bool picture = false);
  bool goBack();

  ReaderSession& session_;
  double zoom_;
  GtkWindow* window_;
  GtkWidget* drawing_;
  GtkWidget* fixed_;
  // Made after the window and destroyed before it: it holds the window's signals.
  std::unique_ptr<TextEntryLayer> textLayer_;
  PointerInput pointer_;
  graphics::Point dragStart_;
  graphics::Point hover_;
  bool minimized_ = false;
  // Repaints the spinning network activity indicator while it is on (and once when it goes off).
  guint activityTimer_ = 0;
  bool activityShown_ = false;
  double shownWidth_ = 0, shownHeight_ = 0;
};
