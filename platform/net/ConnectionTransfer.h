#pragma once
#include <curl/curl.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/net/Error.h"
#include "platform/net/UrlConnectionDelegate.h"
#include "platform/net/UrlRequest.h"
#include "platform/net/UrlResponse.h"

namespace net {

// The libcurl side of one UrlConnection, run by the TransferDriver on the main run loop's thread.
// What libcurl hands over inside its callbacks is queued as reports, which run after libcurl
// returns, each dropped once the connection was cancelled. A response body longer than the
// synchronous loader's cap ends the transfer with Error::DataLengthExceedsMaximum.
class ConnectionTransfer : public std::enable_shared_from_this<ConnectionTransfer> {
 public:
  ConnectionTransfer(UrlRequest request, UrlConnection* owner, UrlConnectionDelegate* delegate);
  ~ConnectionTransfer();
  ConnectionTransfer(const ConnectionTransfer&) = delete;
  ConnectionTransfer& operator=(const ConnectionTransfer&) = delete;

  // Makes the libcurl handle; false when libcurl cannot make one.
  bool create();
  // A request that cannot be sent at all; the failure is reported like any other.
  const Error& setupError() const { return setupError_; }

  CURL* easy() const { return easy_; }
  // Reports the end of the transfer with libcurl's result.
  void finished(CURLcode code);
  // Reports a failure.
  void failed(const Error& error);

  // After this nothing more reaches the delegate.
  void cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_; }

  const UrlRequest& request() const { return request_; }

  // Runs the queued reports in order.
  void runReports();

 private:
  static size_t onHeader(char* data, size_t size, size_t count, void* self);
  static size_t onBody(char* data, size_t size, size_t count, void* self);
  void headerLine(std::string_view line);
  void endOfHeaderBlock();
  using Report = std::function<void(UrlConnectionDelegate&, UrlConnection&)>;
  // Queues a report; it runs unless the connection was cancelled by then.
  void deliver(Report report);

  UrlRequest request_;
  UrlConnection* owner_;
  UrlConnectionDelegate* delegate_;  // may be null
  bool cancelled_ = false;
  std::vector<Report> reports_;  // queued, not yet run; the driver knows of them
  Error setupError_;
  CURL* easy_ = nullptr;
  curl_slist* headers_ = nullptr;
  char errorText_[CURL_ERROR_SIZE] = {0};
  // The header block being read.
  bool inHeaderBlock_ = false;
  UrlResponse pending_;
  // Body bytes of the current response, and whether the cap cut it off.
  std::size_t bodyBytes_ = 0;
  bool tooLarge_ = false;
  // Whether a response set a cookie, so the cookie file needs saving.
  bool setsCookie_ = false;
};

}  // namespace net
