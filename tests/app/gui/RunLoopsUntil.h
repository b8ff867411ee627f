#pragma once
// Turning GLib's loop (GTK, WebKit) and the program's run loop together, for the tests of WebKit
// pages in a window.
#include <glib.h>

#include <chrono>
#include <functional>

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
