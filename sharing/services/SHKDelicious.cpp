#include "sharing/services/SHKDelicious.h"

#include "platform/base/Localization.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"
#include "sharing/core/helpers/oauth/OAPlaintextSignatureProvider.h"
#include "sharing/services/BookmarkFields.h"

SHKDelicious::SHKDelicious() {
  const auto& config = SHKServiceConfig::shared();
  std::string oauth = config.value("SHKDelicious", "oauth");
  configure(config.value("SHKDelicious", "consumer_key"),
            config.value("SHKDelicious", "consumer_secret"),
            config.value("SHKDelicious", "callback"), oauth + "/oauth/v2/request_auth",
            oauth + "/oauth/v2/get_request_token", oauth + "/oauth/v2/get_token");
  setSignatureProvider(std::make_shared<OAPlaintextSignatureProvider>());
  apiBase_ = config.value("SHKDelicious", "api");
}

void SHKDelicious::tokenRequestModifyRequest(OAMutableURLRequest& request) {
  if (authorizeCallbackURL()) {
    request.setOAuthParameterName("oauth_callback", authorizeCallbackURL()->absoluteString());
  }
}

void SHKDelicious::tokenAccessModifyRequest(OAMutableURLRequest& request) {
  if (pendingAction() == PendingRefreshToken) {
    if (accessToken() && accessToken()->sessionHandle()) {
      request.setOAuthParameterName("oauth_session_handle", *accessToken()->sessionHandle());
    }
    return;
  }
  const auto& vars = authorizeResponseQueryVars();
  if (vars && vars->contains("oauth_verifier")) {
    request.setOAuthParameterName("oauth_verifier", vars->at("oauth_verifier"));
  }
}

void SHKDelicious::tokenAuthorizeView(SHKOAuthView& view, bool success,
                                      const QueryParams& queryParams,
                                      const std::optional<SHKError>& error) {
  if (success && !(queryParams && queryParams->contains("oauth_verifier"))) {
    SHKOAuthSharer::tokenAuthorizeView(view, false, std::nullopt, std::nullopt);
    return;
  }
  SHKOAuthSharer::tokenAuthorizeView(view, success, queryParams, error);
}

std::optional<std::vector<SHKFormFieldSettings>> SHKDelicious::shareFormFieldsForType(
    int32_t type) {
  if (type != SHKShareTypeURL) return std::nullopt;
  return bookmarkFields(*item());
}

bool SHKDelicious::send() {
  auto endpoint = net::Url::parse(apiBase_ + "/v2/posts/add");
  if (!validateItem() || !endpoint) return false;
  auto request = std::make_shared<OAMutableURLRequest>(*endpoint, consumer(), accessToken());
  request->setHttpMethod("GET");
  request->setParameters({
      {"description", item()->title().value_or("")},
      {"extended", item()->text().value_or("")},
      {"shared", item()->customBoolForSwitchKey("shared") ? "yes" : "no"},
      {"tags", item()->tags().value_or("")},
      {"url", net::unescape(item()->url()->absoluteString())},
  });
  auto self = std::static_pointer_cast<SHKDelicious>(shared_from_this());
  OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request, {[self](const OAServiceTicket& ticket, const std::string& data) {
                  self->sendTicketDidFinish(ticket, data);
                },
                [self](const OAServiceTicket&, const std::optional<net::Error>& error) {
                  self->sendTicketDidFail(errorOf(error));
                }})
      ->start();
  sendDidStart();
  return true;
}

void SHKDelicious::sendTicketDidFinish(const OAServiceTicket& ticket, const std::string& data) {
  if (ticket.didSucceed() && data.find("\"done\"") != std::string::npos) {
    sendDidFinish();
  } else if (data.find("token_expired") != std::string::npos &&
             pendingAction() != PendingRefreshToken) {
    // Renewed once per send; a token still expired after that is a failure.
    refreshToken();
  } else {
    sendDidFailWithError(SHK::error("There was a problem saving to Delicious."));
  }
}

void SHKDelicious::sendTicketDidFail(const std::optional<SHKError>& error) {
  sendDidFailWithError(error ? *error : SHK::error("There was an error while sharing"));
}
