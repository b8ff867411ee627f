#pragma once
#include <glib.h>

#include <functional>

namespace base {
class RunLoop;
}

// Runs the reader's run loop from the GLib main loop: the loop's poll descriptor (posted work,
// watched descriptors such as the transfers' sockets) wakes a GLib fd source, the next timer
// arms a GLib timeout. After each turn that ran something, `afterTurn` is called (to repaint and
// place the web views).
class RunLoopPump {
 public:
  RunLoopPump(base::RunLoop& loop, std::function<void()> afterTurn);
  ~RunLoopPump();
  RunLoopPump(const RunLoopPump&) = delete;
  RunLoopPump& operator=(const RunLoopPump&) = delete;

  void start();

 private:
  static gboolean onReady(gint fd, GIOCondition condition, gpointer self);
  static gboolean onTimeout(gpointer self);
  void watchLoop();
  void turn();
  void armTimer(double seconds);

  base::RunLoop& loop_;
  std::function<void()> afterTurn_;
  guint fdSourceId_ = 0;
  guint timeoutId_ = 0;
};
