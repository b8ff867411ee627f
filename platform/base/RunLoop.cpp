#include "platform/base/RunLoop.h"

#include <algorithm>
#include <chrono>

namespace base {

RunLoop& RunLoop::main() {
  // Never destroyed: worker threads may still post results while the process exits.
  static RunLoop* loop = new RunLoop();
  return *loop;
}

RunLoop::RunLoop() : realStart_(0) {
  realStart_ = realNow();
}

double RunLoop::realNow() const {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double RunLoop::now() const {
  std::lock_guard lock(mutex_);
  return virtual_ ? virtualNow_ : realNow() - realStart_;
}

void RunLoop::setVirtualClock(bool on) {
  std::lock_guard lock(mutex_);
  virtual_ = on;
  virtualNow_ = 0;
  realStart_ = realNow();
}

void RunLoop::beginOutsideWork() {
  std::lock_guard lock(mutex_);
  ++outsideWork_;
}

void RunLoop::endOutsideWork() {
  std::lock_guard lock(mutex_);
  if (outsideWork_ > 0) --outsideWork_;
}

void RunLoop::setWakeHandler(std::function<void()> handler) {
  std::lock_guard lock(mutex_);
  wakeHandler_ = std::move(handler);
}

void RunLoop::post(Task task) {
  std::function<void()> wake;
  {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
    wake = wakeHandler_;
  }
  wake_.notify_all();
  if (wake) wake();
}

RunLoop::TimerId RunLoop::addTimer(double delay, double interval, Task task) {
  std::function<void()> wake;
  TimerId id;
  {
    std::lock_guard lock(mutex_);
    id = nextId_++;
    double due = (virtual_ ? virtualNow_ : realNow() - realStart_) + (delay > 0 ? delay : 0);
    timers_.emplace(Key{due, id}, Timer{std::move(task), interval});
    timerKeys_.emplace(id, Key{due, id});
    wake = wakeHandler_;
  }
  wake_.notify_all();
  if (wake) wake();
  return id;
}

RunLoop::TimerId RunLoop::performAfter(double seconds, Task task) {
  return addTimer(seconds, 0, std::move(task));
}

RunLoop::TimerId RunLoop::scheduleRepeating(double interval, Task task) {
  return addTimer(interval, interval > 0 ? interval : 1e-3, std::move(task));
}

void RunLoop::cancel(TimerId id) {
  std::lock_guard lock(mutex_);
  auto it = timerKeys_.find(id);
  if (it == timerKeys_.end()) return;
  timers_.erase(it->second);
  timerKeys_.erase(it);
}

// Takes the next ready piece of work: posted tasks first, then the earliest due timer.
// A repeating timer is rescheduled before it runs, so it may cancel itself.
bool RunLoop::popReady(Task& out, bool allowTimers) {
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) {
    out = std::move(posted_.front());
    posted_.pop_front();
    return true;
  }
  if (!allowTimers || timers_.empty()) return false;
  double current = virtual_ ? virtualNow_ : realNow() - realStart_;
  auto first = timers_.begin();
  if (first->first.first > current) return false;
  Key key = first->first;
  Timer timer = std::move(first->second);
  timers_.erase(first);
  if (timer.interval > 0) {
    Key next{key.first + timer.interval, key.second};
    if (next.first <= current) next.first = current + timer.interval;
    out = timer.task;
    timers_.emplace(next, std::move(timer));
    timerKeys_[key.second] = next;
  } else {
    timerKeys_.erase(key.second);
    out = std::move(timer.task);
  }
  return true;
}

bool RunLoop::runOnce() {
  // Work that becomes ready while this turn runs waits for the next turn, except posted tasks.
  bool ran = false;
  size_t budget;
  {
    std::lock_guard lock(mutex_);
    budget = posted_.size() + timers_.size();
  }
  Task task;
  while (budget-- > 0 && popReady(task, true)) {
    task();
    task = nullptr;
    ran = true;
  }
  return ran;
}

void RunLoop::runUntilIdle() {
  while (runOnce()) {
  }
}

void RunLoop::runUntil(double deadline) {
  for (;;) {
    runUntilIdle();
    std::unique_lock lock(mutex_);
    if (virtual_) {
      if (!posted_.empty()) continue;
      if (outsideWork_ > 0) {
        wake_.wait(lock, [this] { return !posted_.empty() || outsideWork_ == 0; });
        continue;
      }
      if (!timers_.empty() && timers_.begin()->first.first <= deadline) {
        if (timers_.begin()->first.first > virtualNow_) virtualNow_ = timers_.begin()->first.first;
        continue;
      }
      if (deadline > virtualNow_) virtualNow_ = deadline;
      return;
    }
    double current = realNow() - realStart_;
    if (current >= deadline) return;
    if (!posted_.empty()) continue;
    double until = deadline;
    if (!timers_.empty() && timers_.begin()->first.first < until)
      until = timers_.begin()->first.first;
    wake_.wait_for(lock, std::chrono::duration<double>(until - current),
                   [this] { return !posted_.empty(); });
  }
}

bool RunLoop::runUntilCondition(const std::function<bool()>& done, double timeoutSeconds) {
  double realDeadline = realNow() + timeoutSeconds;
  for (;;) {
    runUntilIdle();
    if (done()) return true;
    std::unique_lock lock(mutex_);
    double current = realNow();
    if (current >= realDeadline) break;
    if (!posted_.empty()) continue;
    if (virtual_ && !timers_.empty() && outsideWork_ == 0) {
      // Nothing else can happen in virtual time until the next timer: move to it.
      virtualNow_ = std::max(virtualNow_, timers_.begin()->first.first);
      continue;
    }
    double wait = realDeadline - current;
    if (!virtual_ && !timers_.empty()) {
      wait = std::min(wait, timers_.begin()->first.first - (current - realStart_));
    }
    wake_.wait_for(lock, std::chrono::duration<double>(std::max(wait, 0.0)),
                   [this] { return !posted_.empty(); });
  }
  runUntilIdle();
  return done();
}

std::optional<double> RunLoop::secondsUntilNextWork() const {
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) return 0.0;
  if (timers_.empty()) return std::nullopt;
  double current = virtual_ ? virtualNow_ : realNow() - realStart_;
  double d = timers_.begin()->first.first - current;
  return d > 0 ? d : 0.0;
}

void RunLoop::reset() {
  std::lock_guard lock(mutex_);
  posted_.clear();
  timers_.clear();
  timerKeys_.clear();
  outsideWork_ = 0;
}

Timer Timer::once(double seconds, RunLoop::Task task, RunLoop& loop) {
  return Timer(&loop, loop.performAfter(seconds, std::move(task)));
}

Timer Timer::repeating(double interval, RunLoop::Task task, RunLoop& loop) {
  return Timer(&loop, loop.scheduleRepeating(interval, std::move(task)));
}

Timer::Timer(Timer&& other) noexcept : loop_(other.loop_), id_(other.id_) {
  other.loop_ = nullptr;
}

Timer& Timer::operator=(Timer&& other) noexcept {
  if (this != &other) {
    invalidate();
    loop_ = other.loop_;
    id_ = other.id_;
    other.loop_ = nullptr;
  }
  return *this;
}

Timer::~Timer() {
  invalidate();
}

void Timer::invalidate() {
  if (loop_) loop_->cancel(id_);
  loop_ = nullptr;
}

}  // namespace base
