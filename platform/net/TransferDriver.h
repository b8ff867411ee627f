#pragma once
#include <curl/curl.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/net/ConnectionTransfer.h"

namespace base {
class RunLoop;
}

namespace net {

// Runs every asynchronous transfer in one libcurl multi handle on a run loop's thread: the loop
// watches the transfers' sockets and a timerfd for libcurl's time-outs, and hands what is ready
// to curl_multi_socket_action. The reports that a round of transfers queued run right after it,
// outside libcurl's callbacks, so a delegate may start or cancel connections. Loop thread only.
class TransferDriver {
 public:
  // The driver on the main run loop.
  static TransferDriver& shared();

  explicit TransferDriver(base::RunLoop& loop);
  TransferDriver(const TransferDriver&) = delete;
  TransferDriver& operator=(const TransferDriver&) = delete;

  // Starts a created transfer; one that cannot be sent fails at a later turn of the loop.
  void add(std::shared_ptr<ConnectionTransfer> transfer);
  // Stops a running transfer at once; unknown or ended transfers are ignored.
  void remove(const std::shared_ptr<ConnectionTransfer>& transfer);
  // Called by a transfer that queued its first waiting report: its reports run after the
  // current round, or at the loop's next turn when no round is running.
  void reportsQueued(std::shared_ptr<ConnectionTransfer> transfer);

 private:
  static int onSocket(CURL* easy, curl_socket_t fd, int what, void* self, void* socketData);
  static int onTimer(CURLM* multi, long ms, void* self);
  static int onClose(void* self, curl_socket_t fd);
  // One round: libcurl acts on `fd` (or on its time-outs), then the finished transfers end. The
  // queued reports run after it, or at the loop's next turn when `reportNow` is false.
  void act(curl_socket_t fd, int events, bool reportNow = true);
  void collectFinished();
  // Arms the timerfd for the time-out libcurl asked for, unless it is armed to fire sooner.
  void applyTimer();
  void arm(long ms);
  void scheduleReports();
  void runReports();

  base::RunLoop& loop_;
  CURLM* multi_ = nullptr;
  int timerFd_ = -1;
  long wantedTimeoutMs_ = -1;  // what libcurl last asked for; -1 for none
  bool timerChanged_ = false;
  double armedDue_ = 0;  // when the timerfd fires (seconds of the monotonic clock); 0: disarmed
  int depth_ = 0;        // rounds running (a report may run a nested loop)
  std::map<CURL*, std::shared_ptr<ConnectionTransfer>> running_;
  std::vector<std::shared_ptr<ConnectionTransfer>> reporting_;
};

}  // namespace net
