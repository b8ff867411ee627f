#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/net/UrlConnection.h"
#include "sharing/core/helpers/oauth/OAFetcherCallbacks.h"
#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

// Signs and sends one request without blocking, and reports once, on the main run loop: through
// didFinish when the exchange completed (didSucceed when the status is below 400), through
// didFail when the transfer failed. A started fetcher keeps itself alive until its report has
// been delivered or it was cancelled, so callers need not keep it.
class OAAsynchronousDataFetcher : public net::UrlConnectionDelegate,
                                  public std::enable_shared_from_this<OAAsynchronousDataFetcher> {
 public:
  static std::shared_ptr<OAAsynchronousDataFetcher> asynchronousFetcherWithRequest(
      std::shared_ptr<OAMutableURLRequest> request, OAFetcherCallbacks callbacks);

  // Prepares (signs) the request and starts the transfer, dropping an earlier one.
  void start();
  // Stops a running transfer; no report follows.
  void cancel();

  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) override;
  void didReceiveData(net::UrlConnection&, std::string_view data) override;
  void didFinishLoading(net::UrlConnection&) override;
  void didFailWithError(net::UrlConnection&, const net::Error& error) override;

 private:
  OAAsynchronousDataFetcher(std::shared_ptr<OAMutableURLRequest> request,
                            OAFetcherCallbacks callbacks);
  void reportFailure(const std::optional<net::Error>& error);

  std::shared_ptr<OAMutableURLRequest> request_;
  std::optional<net::UrlResponse> response_;
  std::unique_ptr<net::UrlConnection> connection_;
  std::string responseData_;
  OAFetcherCallbacks callbacks_;
  // Holds the fetcher while its transfer runs.
  std::shared_ptr<OAAsynchronousDataFetcher> self_;
};
