#include "sharing/core/SHKOAuthSharer.h"

#include "platform/base/Localization.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/WebCookieJar.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKOAuthView.h"
#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"
#include "sharing/core/helpers/oauth/OAURLEncoding.h"

namespace {

void showError(const char* title, const std::optional<SHKError>& error, const char* fallback) {
  auto alert = std::make_shared<ui::AlertView>(
      base::localized(title), error ? error->localizedDescription : base::localized(fallback),
      nullptr, base::localized("Close"));
  alert->show();
}

// A token answer counts only with a key and a secret.
bool complete(const OAToken& token) {
  return token.hasKey() && token.secret().has_value();
}

}  // namespace

void SHKOAuthSharer::configure(std::string consumerKey, std::string secretKey,
                               const std::string& callback, const std::string& authorize,
                               const std::string& request, const std::string& access) {
  consumerKey_ = std::move(consumerKey);
  secretKey_ = std::move(secretKey);
  authorizeCallbackURL_ = net::Url::parse(callback);
  authorizeURL_ = net::Url::parse(authorize);
  requestURL_ = net::Url::parse(request);
  accessURL_ = net::Url::parse(access);
}

std::optional<SHKError> SHKOAuthSharer::errorOf(const std::optional<net::Error>& error) {
  if (!error) return std::nullopt;
  return SHKError{error->domain(), error->code(), error->description()};
}

void SHKOAuthSharer::promptAuthorization() {
  tokenRequest();
}

void SHKOAuthSharer::tryPendingAction() {
  if (pendingAction() == PendingRefreshToken) {
    tryToSend();
  } else {
    SHKSharer::tryPendingAction();
  }
}

bool SHKOAuthSharer::restoreAccessToken() {
  consumer_ = OAConsumer(consumerKey_, secretKey_);
  if (accessToken_) return true;
  auto key = SHK::getAuthValueForKey(kAccessKey, sharerId());
  auto secret = SHK::getAuthValueForKey(kAccessSecret, sharerId());
  if (!key || !secret) return false;
  accessToken_ = OAToken(*key, *secret);
  if (auto handle = SHK::getAuthValueForKey(kSessionHandle, sharerId())) {
    accessToken_->setSessionHandle(*handle);
  }
  return true;
}

void SHKOAuthSharer::storeAccessToken() {
  if (!accessToken_) return;
  SHK::setAuthValue(accessToken_->key().value_or(""), kAccessKey, sharerId());
  SHK::setAuthValue(accessToken_->secret().value_or(""), kAccessSecret, sharerId());
  // A token without a session handle must not inherit the previous token's.
  if (accessToken_->sessionHandle()) {
    SHK::setAuthValue(*accessToken_->sessionHandle(), kSessionHandle, sharerId());
  } else {
    SHK::removeAuthValueForKey(kSessionHandle, sharerId());
  }
}

void SHKOAuthSharer::deleteStoredAccessToken(const std::string& sharerId) {
  SHK::removeAuthValueForKey(kAccessKey, sharerId);
  SHK::removeAuthValueForKey(kAccessSecret, sharerId);
  SHK::removeAuthValueForKey(kSessionHandle, sharerId);
}

void SHKOAuthSharer::logout() {
  deleteStoredAccessToken(sharerId());
  accessToken_.reset();
  if (authorizeURL_ && !authorizeURL_->host().empty()) {
    ui::WebCookieJar::shared().deleteCookiesForDomain(authorizeURL_->host());
  }
}

std::shared_ptr<OAMutableURLRequest> SHKOAuthSharer::tokenCall(const net::Url& url,
                                                               std::optional<OAToken> token) {
  auto request = std::make_shared<OAMutableURLRequest>(url, consumer_, std::move(token),
                                                       std::nullopt, signatureProvider_);
  request->setHttpMethod("POST");
  return request;
}

void SHKOAuthSharer::tokenRequest() {
  SHKActivityIndicator::currentIndicator()->displayActivity(base::localized("Connecting..."));
  consumer_ = OAConsumer(consumerKey_, secretKey_);
  if (!requestURL_) {
    tokenRequestTicketDidFail(
        SHK::error("There was a problem requesting authorization from %@", sharerTitle()));
    return;
  }
  auto request = tokenCall(*requestURL_, std::nullopt);
  tokenRequestModifyRequest(*request);
  auto self = this->self();
  OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request, {[self](const OAServiceTicket& ticket, const std::string& data) {
                  self->tokenRequestTicketDidFinish(ticket, data);
                },
                [self](const OAServiceTicket&, const std::optional<net::Error>& error) {
                  self->tokenRequestTicketDidFail(errorOf(error));
                }})
      ->start();
}

void SHKOAuthSharer::tokenRequestTicketDidFinish(const OAServiceTicket& ticket,
                                                 const std::string& data) {
  SHKActivityIndicator::currentIndicator()->hide();
  OAToken token = OAToken::fromHTTPResponseBody(data);
  if (ticket.didSucceed() && complete(token)) {
    requestToken_ = std::move(token);
    tokenAuthorize();
    return;
  }
  tokenRequestTicketDidFail(
      SHK::error("There was a problem requesting authorization from %@", sharerTitle()));
}

void SHKOAuthSharer::tokenRequestTicketDidFail(const std::optional<SHKError>& error) {
  SHKActivityIndicator::currentIndicator()->hide();
  showError("Request Error", error, "There was an error while sharing");
}

std::string SHKOAuthSharer::authorizePageAddress() const {
  std::string key = requestToken_ ? requestToken_->key().value_or("") : "";
  return (authorizeURL_ ? authorizeURL_->absoluteString() : "") +
         "?oauth_token=" + URLEncodedString(key);
}

void SHKOAuthSharer::tokenAuthorize() {
  auto page = net::Url::parse(authorizePageAddress());
  if (!page) {
    showError("Authorize Error", std::nullopt, "There was an error while authorizing");
    return;
  }
  presentScreen(std::make_shared<SHKOAuthView>(*page, self()));
}

void SHKOAuthSharer::tokenAuthorizeView(SHKOAuthView&, bool success, const QueryParams& queryParams,
                                        const std::optional<SHKError>& error) {
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
  if (!success) {
    showError("Authorize Error", error, "There was an error while authorizing");
    return;
  }
  authorizeResponseQueryVars_ = queryParams;
  tokenAccess();
}

void SHKOAuthSharer::tokenAuthorizeCancelledView(SHKOAuthView&) {
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
}

void SHKOAuthSharer::tokenAccess(bool refresh) {
  if (!refresh) {
    SHKActivityIndicator::currentIndicator()->displayActivity(base::localized("Authenticating..."));
  }
  consumer_ = OAConsumer(consumerKey_, secretKey_);
  const auto& token = refresh ? accessToken_ : requestToken_;
  if (!accessURL_ || (!token && (refresh || !accessWithoutRequestToken()))) {
    tokenAccessTicketDidFail(
        SHK::error("There was a problem requesting access from %@", sharerTitle()));
    return;
  }
  auto request = tokenCall(*accessURL_, token);
  tokenAccessModifyRequest(*request);
  auto self = this->self();
  OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request, {[self](const OAServiceTicket& ticket, const std::string& data) {
                  self->tokenAccessTicketDidFinish(ticket, data);
                },
                [self](const OAServiceTicket&, const std::optional<net::Error>& error) {
                  self->tokenAccessTicketDidFail(errorOf(error));
                }})
      ->start();
}

void SHKOAuthSharer::tokenAccessTicketDidFinish(const OAServiceTicket& ticket,
                                                const std::string& data) {
  SHKActivityIndicator::currentIndicator()->hide();
  OAToken token = OAToken::fromHTTPResponseBody(data);
  if (ticket.didSucceed() && complete(token)) {
    accessToken_ = std::move(token);
    storeAccessToken();
    tryPendingAction();
    return;
  }
  tokenAccessTicketDidFail(
      SHK::error("There was a problem requesting access from %@", sharerTitle()));
}

void SHKOAuthSharer::tokenAccessTicketDidFail(const std::optional<SHKError>& error) {
  SHKActivityIndicator::currentIndicator()->hide();
  showError("Access Error", error, "There was an error while sharing");
  // The share that waited for the renewed token is over too.
  if (pendingAction() == PendingRefreshToken) {
    sendDidFailWithError(error ? *error : SHK::error("There was an error while sharing"));
  }
}

void SHKOAuthSharer::refreshToken() {
  setPendingAction(PendingRefreshToken);
  tokenAccess(true);
}
