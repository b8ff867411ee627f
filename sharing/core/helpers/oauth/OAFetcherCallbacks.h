#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/net/Error.h"
#include "sharing/core/helpers/oauth/OAServiceTicket.h"

// The pair of calls a fetcher reports to. Leaving both empty ignores the outcome.
struct OAFetcherCallbacks {
  // The exchange completed, whatever its HTTP status: the ticket and the response body.
  std::function<void(const OAServiceTicket&, const std::string& data)> didFinish;
  // The transfer failed: the ticket and the error, which is absent when no connection could be
  // made at all.
  std::function<void(const OAServiceTicket&, const std::optional<net::Error>& error)> didFail;
};
