#include "sharing/core/helpers/oauth/OAServiceTicket.h"

OAServiceTicket::OAServiceTicket(std::shared_ptr<const OAMutableURLRequest> request,
                                 std::optional<net::UrlResponse> response, bool didSucceed)
    : OAServiceTicket(std::move(request), std::move(response), std::nullopt, didSucceed) {}

OAServiceTicket::OAServiceTicket(std::shared_ptr<const OAMutableURLRequest> request,
                                 std::optional<net::UrlResponse> response,
                                 std::optional<std::string> data, bool didSucceed)
    : request_(std::move(request)),
      response_(std::move(response)),
      data_(std::move(data)),
      didSucceed_(didSucceed) {}

std::optional<std::string> OAServiceTicket::body() const {
  return data_;
}
