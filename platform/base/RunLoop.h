#pragma once
#include <sys/epoll.h>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <utility>

namespace base {

// The main run loop: tasks posted from any thread, delayed calls and repeating timers, and
// handlers of watched file descriptors, all run on the thread that pumps the loop. It waits on
// one epoll descriptor that holds the watched descriptors and an eventfd that posts and
// new earliest timers signal. Time is in seconds. With the virtual clock (tests), time only moves
// when the loop is run until a later time, so "0.2 seconds later" is exact and instant.
class RunLoop {
 public:
  using Task = std::function<void()>;
  using TimerId = std::uint64_t;
  // What a watched descriptor is ready for (or asked to be watched for).
  enum FdEvents : int { kReadable = 1, kWritable = 2, kFdError = 4 };
  using FdHandler = std::function<void(int events)>;

  static RunLoop& main();

  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Thread-safe: queues `task` to run on the loop, after tasks posted before it.
  void post(Task task);
  // Runs `task` once, `seconds` from now (0 runs it at the next turn, after posted tasks).
  TimerId performAfter(double seconds, Task task);
  // Runs `task` every `interval` seconds (> 0) until cancelled.
  TimerId scheduleRepeating(double interval, Task task);
  // Cancels a delayed call or timer; unknown or finished ids are ignored.
  void cancel(TimerId id);

  // Loop thread. Calls `handler` at each turn while `fd` is ready for `events` (kReadable,
  // kWritable or both); watching a watched descriptor again replaces its events and handler.
  void watch(int fd, int events, FdHandler handler);
  // Loop thread. Stops watching `fd`; call it before closing the descriptor.
  void unwatch(int fd);
  // Readable whenever the loop has work now (a posted task, a ready descriptor) or its earliest
  // timer changed, so an outer event loop can poll it and then turn this loop.
  int pollFd() const { return epoll_; }

  // Runs the handlers of ready descriptors, the posted tasks and the due timers that are ready
  // now; returns whether anything ran.
  bool runOnce();
  // Runs until nothing is ready now (does not wait for future timers).
  void runUntilIdle();
  // Runs tasks and timers until `deadline` (a value of now()). With the real clock it sleeps in
  // between; with the virtual clock it jumps from timer to timer.
  void runUntil(double deadline);
  void runFor(double seconds) { runUntil(now() + seconds); }
  // Runs (waiting in real time for posted tasks and descriptors, and moving the virtual clock
  // through timers) until `done` returns true or `timeoutSeconds` of real time passed; returns
  // done().
  bool runUntilCondition(const std::function<bool()>& done, double timeoutSeconds = 10.0);

  // Work running elsewhere that will post its result to this loop (a download on a worker).
  // With the virtual clock, time stands still while any is outstanding: the loop waits for the
  // post in real time, so such work takes no virtual time. Call both on the loop's thread; end
  // it from the task that the work posted.
  void beginOutsideWork();
  void endOutsideWork();

  // Seconds since the loop was created (or since the virtual clock was switched on).
  double now() const;
  // Switches the virtual clock on (starting at 0) or back to the real one.
  void setVirtualClock(bool on);
  // Seconds until the next timer is due, if any (0 when tasks are waiting).
  std::optional<double> secondsUntilNextWork() const;
  // Drops every task and timer (between tests); watched descriptors stay.
  void reset();

 private:
  struct Timer {
    Task task;
    double interval;  // 0 for a one-shot call
  };
  using Key = std::pair<double, TimerId>;  // due time, then order of scheduling

  double realNow() const;
  bool popReady(Task& out, bool allowTimers);
  bool runOnce(bool pollFds);
  TimerId addTimer(double delay, double interval, Task task);
  void signal();
  bool dispatchReadyFds();
  // Waits until the loop may have work, at most `seconds` of real time (forever when negative).
  void waitForWork(double seconds);

  const int epoll_;
  const int wakeFd_;
  // Loop thread only: the watched descriptors, and the ones the last wait found ready.
  std::unordered_map<int, FdHandler> watches_;
  epoll_event ready_[32];
  int readyCount_ = 0;
  mutable std::mutex mutex_;
  // The thread running a turn, if any: its posts need no signal, as the turn or the next one runs
  // them before the loop waits.
  std::thread::id turning_;
  std::deque<Task> posted_;
  std::map<Key, Timer> timers_;
  std::map<TimerId, Key> timerKeys_;
  TimerId nextId_ = 1;
  bool virtual_ = false;
  double virtualNow_ = 0;
  double realStart_;
  int outsideWork_ = 0;
};

// A delayed call or repeating timer that is cancelled when this object goes away.
class Timer {
 public:
  Timer() = default;
  static Timer once(double seconds, RunLoop::Task task, RunLoop& loop = RunLoop::main());
  static Timer repeating(double interval, RunLoop::Task task, RunLoop& loop = RunLoop::main());
  Timer(Timer&& other) noexcept;
  Timer& operator=(Timer&& other) noexcept;
  ~Timer();
  void invalidate();
  bool scheduled() const { return loop_ != nullptr; }

 private:
  Timer(RunLoop* loop, RunLoop::TimerId id) : loop_(loop), id_(id) {}
  RunLoop* loop_ = nullptr;
  RunLoop::TimerId id_ = 0;
};

}  // namespace base
