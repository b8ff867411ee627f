#include "app/gui/RunLoopPump.h"

#include <glib-unix.h>

#include <cmath>

#include "app/gui/NestedWait.h"
#include "platform/base/RunLoop.h"

RunLoopPump::RunLoopPump(base::RunLoop& loop, std::function<void()> afterTurn)
    : loop_(loop), afterTurn_(std::move(afterTurn)) {}

RunLoopPump::~RunLoopPump() {
  if (timeoutId_) g_source_remove(timeoutId_);
  if (fdSourceId_) g_source_remove(fdSourceId_);
}

void RunLoopPump::start() {
  turn();
}

void RunLoopPump::watchLoop() {
  if (!fdSourceId_)
    fdSourceId_ =
        g_unix_fd_add_full(G_PRIORITY_DEFAULT, loop_.pollFd(), G_IO_IN, onReady, this, nullptr);
}

gboolean RunLoopPump::onReady(gint, GIOCondition, gpointer self) {
  auto* pump = static_cast<RunLoopPump*>(self);
  if (NestedWait::active()) {
    // The descriptor stays readable until the loop turns: stop watching it meanwhile.
    pump->fdSourceId_ = 0;
    pump->armTimer(0.01);
    return G_SOURCE_REMOVE;
  }
  pump->turn();
  return G_SOURCE_CONTINUE;
}

gboolean RunLoopPump::onTimeout(gpointer self) {
  auto* pump = static_cast<RunLoopPump*>(self);
  pump->timeoutId_ = 0;
  pump->turn();
  return G_SOURCE_REMOVE;
}

void RunLoopPump::turn() {
  if (NestedWait::active()) {
    armTimer(0.01);
    return;
  }
  watchLoop();
  bool ran = false;
  while (loop_.runOnce()) ran = true;
  if (ran && afterTurn_) afterTurn_();
  if (std::optional<double> next = loop_.secondsUntilNextWork()) {
    armTimer(*next);
  } else if (timeoutId_) {
    g_source_remove(timeoutId_);
    timeoutId_ = 0;
  }
}

void RunLoopPump::armTimer(double seconds) {
  if (timeoutId_) g_source_remove(timeoutId_);
  auto ms = static_cast<guint>(std::ceil(seconds * 1000));
  timeoutId_ = g_timeout_add_full(G_PRIORITY_DEFAULT, ms, onTimeout, this, nullptr);
}
