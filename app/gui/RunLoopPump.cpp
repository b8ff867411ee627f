#include "app/gui/RunLoopPump.h"

#include <cmath>

#include "app/gui/NestedWait.h"
#include "platform/base/RunLoop.h"

RunLoopPump::RunLoopPump(base::RunLoop& loop, std::function<void()> afterTurn)
    : loop_(loop), afterTurn_(std::move(afterTurn)) {}

RunLoopPump::~RunLoopPump() {
  loop_.setWakeHandler(nullptr);
  if (timeoutId_) g_source_remove(timeoutId_);
  if (idleQueued_.exchange(true)) g_idle_remove_by_data(this);
}

void RunLoopPump::start() {
  loop_.setWakeHandler([this] { wake(); });
  wake();
}

// Any thread: queue one idle turn unless one is queued already.
void RunLoopPump::wake() {
  if (!idleQueued_.exchange(true)) g_idle_add_full(G_PRIORITY_DEFAULT, onIdle, this, nullptr);
}

gboolean RunLoopPump::onIdle(gpointer self) {
  auto* pump = static_cast<RunLoopPump*>(self);
  pump->idleQueued_ = false;
  pump->turn();
  return G_SOURCE_REMOVE;
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
  bool ran = false;
  while (loop_.runOnce()) ran = true;
  if (ran && afterTurn_) afterTurn_();
  if (std::optional<double> next = loop_.secondsUntilNextWork()) {
    if (*next <= 0) {
      wake();
    } else {
      armTimer(*next);
    }
  }
}

void RunLoopPump::armTimer(double seconds) {
  if (timeoutId_) g_source_remove(timeoutId_);
  auto ms = static_cast<guint>(std::ceil(seconds * 1000));
  timeoutId_ = g_timeout_add_full(G_PRIORITY_DEFAULT, ms, onTimeout, this, nullptr);
}
