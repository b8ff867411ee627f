#pragma once
#include <memory>

#include "platform/net/UrlConnectionDelegate.h"
#include "platform/net/UrlRequest.h"

namespace net {

class ConnectionTransfer;

// Asynchronous URL loading. The transfer runs on the main run loop (TransferDriver); its reports
// reach the delegate (not owned; may be null) there, in order, never inside start(). Cancelling,
// or destroying the connection, stops the transfer, and nothing more is reported, even reports
// already queued. Use on the main run loop's thread.
class UrlConnection {
 public:
  // Starts loading at once; the transfer goes on while the main run loop runs. Nothing when
  // libcurl cannot make a transfer.
  static std::unique_ptr<UrlConnection> start(UrlRequest request, UrlConnectionDelegate* delegate);

  ~UrlConnection();
  UrlConnection(const UrlConnection&) = delete;
  UrlConnection& operator=(const UrlConnection&) = delete;

  void cancel();
  const UrlRequest& originalRequest() const;

 private:
  UrlConnection() = default;
  std::shared_ptr<ConnectionTransfer> transfer_;
};

}  // namespace net
