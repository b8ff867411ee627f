#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"

std::shared_ptr<OAAsynchronousDataFetcher>
OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
    std::shared_ptr<OAMutableURLRequest> request, OAFetcherCallbacks callbacks) {
  return std::shared_ptr<OAAsynchronousDataFetcher>(
      new OAAsynchronousDataFetcher(std::move(request), std::move(callbacks)));
}

OAAsynchronousDataFetcher::OAAsynchronousDataFetcher(std::shared_ptr<OAMutableURLRequest> request,
                                                     OAFetcherCallbacks callbacks)
    : request_(std::move(request)), callbacks_(std::move(callbacks)) {}

void OAAsynchronousDataFetcher::start() {
  request_->prepare();
  connection_.reset();
  response_.reset();
  connection_ = net::UrlConnection::start(*request_, this);
  if (!connection_) {
    reportFailure(std::nullopt);
    return;
  }
  responseData_.clear();
  self_ = shared_from_this();
}

void OAAsynchronousDataFetcher::cancel() {
  auto keep = std::move(self_);
  if (connection_) {
    connection_->cancel();
    connection_.reset();
  }
}

void OAAsynchronousDataFetcher::didReceiveResponse(net::UrlConnection&,
                                                   const net::UrlResponse& response) {
  // Only the body after the latest response counts.
  response_ = response;
  responseData_.clear();
}

void OAAsynchronousDataFetcher::didReceiveData(net::UrlConnection&, std::string_view data) {
  responseData_.append(data);
}

void OAAsynchronousDataFetcher::didFinishLoading(net::UrlConnection&) {
  // The fetcher may be released once its report is delivered; it lives until this returns.
  auto keep = std::move(self_);
  bool succeeded = response_ && response_->statusCode() < 400;
  OAServiceTicket ticket(request_, response_, succeeded);
  if (callbacks_.didFinish) callbacks_.didFinish(ticket, responseData_);
}

void OAAsynchronousDataFetcher::didFailWithError(net::UrlConnection&, const net::Error& error) {
  auto keep = std::move(self_);
  reportFailure(error);
}

void OAAsynchronousDataFetcher::reportFailure(const std::optional<net::Error>& error) {
  OAServiceTicket ticket(request_, response_, false);
  if (callbacks_.didFail) callbacks_.didFail(ticket, error);
}
