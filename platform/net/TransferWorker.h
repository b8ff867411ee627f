#pragma once
#include <curl/curl.h>

#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/net/ConnectionTransfer.h"

namespace net {

// The one thread that runs every asynchronous transfer, all in one libcurl multi handle.
class TransferWorker {
 public:
  static TransferWorker& shared();

  TransferWorker();
  ~TransferWorker();
  TransferWorker(const TransferWorker&) = delete;
  TransferWorker& operator=(const TransferWorker&) = delete;

  // Thread-safe. Starts a created transfer; a transfer that cannot be sent fails at once.
  void add(std::shared_ptr<ConnectionTransfer> transfer);
  // Thread-safe. Stops a cancelled transfer soon; unknown or ended transfers are ignored.
  void remove(const std::shared_ptr<ConnectionTransfer>& transfer);

 private:
  void run();
  void takeCommands();
  void collectFinished();
  void drop(CURL* easy);
  // Posts one task running the reports that the transfers queued in this round, in the order
  // they queued them.
  void postReports();

  CURLM* multi_ = nullptr;
  std::mutex mutex_;
  bool stopping_ = false;
  std::vector<std::shared_ptr<ConnectionTransfer>> toAdd_;
  std::vector<std::shared_ptr<ConnectionTransfer>> toRemove_;
  // Worker thread only: the transfers inside the multi handle.
  std::map<CURL*, std::shared_ptr<ConnectionTransfer>> running_;
  // Worker thread only: the transfers that queued reports this round.
  ConnectionTransfer::Outbox outbox_;
  std::thread thread_;
};

}  // namespace net
