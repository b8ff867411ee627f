#pragma once
#include <memory>

#include "sharing/core/helpers/oauth/OAFetcherCallbacks.h"
#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

// Signs and sends one request, blocking the calling thread, and reports before returning, in
// the same way as the asynchronous fetcher.
class OADataFetcher {
 public:
  static void fetchDataWithRequest(std::shared_ptr<OAMutableURLRequest> request,
                                   const OAFetcherCallbacks& callbacks);
};
