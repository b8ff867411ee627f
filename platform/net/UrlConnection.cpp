#include "platform/net/UrlConnection.h"

#include "platform/net/ConnectionTransfer.h"
#include "platform/net/TransferWorker.h"

namespace net {

std::unique_ptr<UrlConnection> UrlConnection::start(UrlRequest request,
                                                    UrlConnectionDelegate* delegate) {
  std::unique_ptr<UrlConnection> connection(new UrlConnection());
  auto transfer =
      std::make_shared<ConnectionTransfer>(std::move(request), connection.get(), delegate);
  if (!transfer->create()) return nullptr;
  connection->transfer_ = transfer;
  TransferWorker::shared().add(std::move(transfer));
  return connection;
}

UrlConnection::~UrlConnection() {
  cancel();
}

void UrlConnection::cancel() {
  if (!transfer_ || transfer_->cancelled()) return;
  transfer_->cancel();
  // A transfer the worker already let go of needs no wake-up to stop it.
  if (!transfer_->ended()) TransferWorker::shared().remove(transfer_);
}

const UrlRequest& UrlConnection::originalRequest() const {
  return transfer_->request();
}

}  // namespace net
