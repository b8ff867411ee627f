#pragma once
#include <glib.h>

#include <atomic>
#include <functional>

namespace base {
class RunLoop;
}

// Runs the reader's run loop from the GLib main loop: posted work wakes an idle source (from any
// thread), the next timer arms a GLib timeout. After each turn that ran something, `afterTurn` is
// called (to repaint and place the web views).
class RunLoopPump {
 public:
  RunLoopPump(base::RunLoop& loop, std::function<void()> afterTurn);
  ~RunLoopPump();
  RunLoopPump(const RunLoopPump&) = delete;
  RunLoopPump& operator=(const RunLoopPump&) = delete;

  void start();

 private:
  static gboolean onIdle(gpointer self);
  static gboolean onTimeout(gpointer self);
  void wake();
  void turn();
  void armTimer(double seconds);

  base::RunLoop& loop_;
  std::function<void()> afterTurn_;
  std::atomic<bool> idleQueued_{false};
  guint idleId_ = 0;
  guint timeoutId_ = 0;
};
