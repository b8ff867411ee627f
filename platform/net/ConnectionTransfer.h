#pragma once
#include <curl/curl.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/net/Error.h"
#include "platform/net/UrlConnectionDelegate.h"
#include "platform/net/UrlRequest.h"
#include "platform/net/UrlResponse.h"

namespace net {

// The libcurl side of one UrlConnection. It is configured on the main thread, runs on the
// transfer worker, and queues what it receives for the main run loop, where the reports queued
// so far run together in one task and each is dropped once the connection was cancelled. Given an
// outbox, the transfer leaves the posting to the worker, which posts one task for all transfers
// that queued reports in one round of its loop. A response
// body longer than the synchronous loader's cap ends the transfer with
// Error::DataLengthExceedsMaximum.
class ConnectionTransfer : public std::enable_shared_from_this<ConnectionTransfer> {
 public:
  ConnectionTransfer(UrlRequest request, UrlConnection* owner, UrlConnectionDelegate* delegate);
  ~ConnectionTransfer();
  ConnectionTransfer(const ConnectionTransfer&) = delete;
  ConnectionTransfer& operator=(const ConnectionTransfer&) = delete;

  // Main thread. Makes the libcurl handle; false when libcurl cannot make one.
  bool create();
  // Main thread. A request that cannot be sent at all; the failure is reported like any other.
  const Error& setupError() const { return setupError_; }

  // Worker thread.
  CURL* easy() const { return easy_; }
  // Reports the end of the transfer with libcurl's result.
  void finished(CURLcode code);
  // Reports a failure.
  void failed(const Error& error);

  // Any thread. After this nothing more reaches the delegate.
  void cancel() { cancelled_.store(true); }
  bool cancelled() const { return cancelled_.load(); }
  // Any thread. Whether the worker is done with the transfer (nothing left to stop).
  bool ended() const { return ended_.load(); }
  // Worker thread.
  void setEnded() { ended_.store(true); }

  const UrlRequest& request() const { return request_; }

  using Outbox = std::vector<std::shared_ptr<ConnectionTransfer>>;
  // Worker thread, before the transfer starts: where the transfer puts itself when it queues a
  // report while none is waiting; the worker then posts runReports() for it. Without an outbox
  // the transfer posts its own task.
  void setOutbox(Outbox* outbox) { outbox_ = outbox; }
  // Main thread: runs the queued reports in order.
  void runReports();

 private:
  static size_t onHeader(char* data, size_t size, size_t count, void* self);
  static size_t onBody(char* data, size_t size, size_t count, void* self);
  void headerLine(std::string_view line);
  void endOfHeaderBlock();
  using Report = std::function<void(UrlConnectionDelegate&, UrlConnection&)>;
  // Queues a report for the main run loop; it runs unless the connection was cancelled by then.
  void deliver(Report report);

  UrlRequest request_;
  UrlConnection* owner_;             // main thread only
  UrlConnectionDelegate* delegate_;  // main thread only; may be null
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> ended_{false};
  std::mutex reportsMutex_;
  std::vector<Report> reports_;  // queued, not yet run; a task to run them is posted
  Outbox* outbox_ = nullptr;     // worker thread only
  Error setupError_;
  CURL* easy_ = nullptr;
  curl_slist* headers_ = nullptr;
  char errorText_[CURL_ERROR_SIZE] = {0};
  // The header block being read (worker thread).
  bool inHeaderBlock_ = false;
  UrlResponse pending_;
  // Body bytes of the current response, and whether the cap cut it off (worker thread).
  std::size_t bodyBytes_ = 0;
  bool tooLarge_ = false;
  // Whether a response set a cookie, so the cookie file needs saving (worker thread).
  bool setsCookie_ = false;
};

}  // namespace net
