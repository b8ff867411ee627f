#include "sharing/core/helpers/oauth/OADataFetcher.h"

#include "platform/net/UrlLoader.h"

void OADataFetcher::fetchDataWithRequest(std::shared_ptr<OAMutableURLRequest> request,
                                         const OAFetcherCallbacks& callbacks) {
  request->prepare();
  net::LoadResult result = net::UrlLoader::sendSynchronousRequest(*request);
  std::optional<net::UrlResponse> response;
  if (result.response.statusCode() != 0) response = result.response;

  if (!result.error && response) {
    OAServiceTicket ticket(request, response, response->statusCode() < 400);
    if (callbacks.didFinish) callbacks.didFinish(ticket, result.body);
  } else {
    OAServiceTicket ticket(request, response, false);
    std::optional<net::Error> error;
    if (result.error) error = result.error;
    if (callbacks.didFail) callbacks.didFail(ticket, error);
  }
}
