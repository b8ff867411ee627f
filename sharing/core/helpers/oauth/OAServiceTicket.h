#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/net/UrlResponse.h"
#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

// What a fetcher tells its delegate about one exchange: the request sent, the response received
// (none when none arrived), and whether the fetcher judged the exchange a success.
class OAServiceTicket {
 public:
  OAServiceTicket(std::shared_ptr<const OAMutableURLRequest> request,
                  std::optional<net::UrlResponse> response, bool didSucceed);
  OAServiceTicket(std::shared_ptr<const OAMutableURLRequest> request,
                  std::optional<net::UrlResponse> response, std::optional<std::string> data,
                  bool didSucceed);

  const OAMutableURLRequest& request() const { return *request_; }
  const std::optional<net::UrlResponse>& response() const { return response_; }
  // Data given at construction; the fetchers pass the response body separately and give none.
  const std::optional<std::string>& data() const { return data_; }
  bool didSucceed() const { return didSucceed_; }
  // The data as UTF-8 text; nothing when the ticket carries no data.
  std::optional<std::string> body() const;

 private:
  std::shared_ptr<const OAMutableURLRequest> request_;
  std::optional<net::UrlResponse> response_;
  std::optional<std::string> data_;
  bool didSucceed_;
};
