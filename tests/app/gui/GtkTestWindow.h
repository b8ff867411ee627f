#pragma once
// A GTK window for the tests of WebKit pages, and turning GLib's loop (GTK, WebKit) and the
// program's run loop together.
#include <glib.h>
#include <gtk/gtk.h>

#include <chrono>
#include <functional>

#include "app/gui/WebKitEngine.h"
#include "platform/base/RunLoop.h"

// Turns both loops until `done`, 20 seconds at most.
inline bool runLoopsUntil(const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    base::RunLoop::main().runFor(0.005);
  }
  return done();
}

// Shows a window of `width` × `height` holding a GtkFixed, where pages are placed.
inline GtkWidget* presentWindow(int width, int height) {
  GtkWidget* window = gtk_window_new();
  gtk_window_set_child(GTK_WINDOW(window), gtk_fixed_new());
  gtk_window_set_default_size(GTK_WINDOW(window), width, height);
  gtk_window_present(GTK_WINDOW(window));
  return window;
}

// Shows the engine's page at the top left of the window, `width` × `height`.
inline void placePage(GtkWidget* window, WebKitEngine& engine, int width, int height) {
  gtk_fixed_put(GTK_FIXED(gtk_window_get_child(GTK_WINDOW(window))), engine.clipBox(), 0, 0);
  gtk_widget_set_size_request(engine.clipBox(), width, height);
  gtk_widget_set_size_request(GTK_WIDGET(engine.webView()), width, height);
  gtk_widget_set_visible(engine.clipBox(), TRUE);
}
