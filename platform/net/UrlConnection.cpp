#include "platform/net/UrlConnection.h"

#include "platform/net/ConnectionTransfer.h"
#include "platform/net/TransferDriver.h"

namespace net {

std::unique_ptr<UrlConnection> UrlConnection::start(UrlRequest request,
                                                    UrlConnectionDelegate* delegate) {
  std::unique_ptr<UrlConnection> connection(new UrlConnection());
  auto transfer =
      std::make_shared<ConnectionTransfer>(std::move(request), connection.get(), delegate);
  if (!transfer->create()) return nullptr;
  connection->transfer_ = transfer;
  TransferDriver::shared().add(std::move(transfer));
  return connection;
}

UrlConnection::~UrlConnection() {
  cancel();
}

void UrlConnection::cancel() {
  if (!transfer_ || transfer_->cancelled()) return;
  transfer_->cancel();
  TransferDriver::shared().remove(transfer_);
}

const UrlRequest& UrlConnection::originalRequest() const {
  return transfer_->request();
}

}  // namespace net
