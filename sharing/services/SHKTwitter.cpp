#include "sharing/services/SHKTwitter.h"

#include <algorithm>

#include "platform/base/Localization.h"
#include "platform/base/Strings.h"
#include "platform/base/Utf16.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"
#include "sharing/core/helpers/oauth/OAAsynchronousDataFetcher.h"
#include "sharing/services/SHKTwitterForm.h"
#include "sharing/services/WebServiceLogin.h"

namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string trimLineBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  size_t start = text.find_first_not_of("\r\n");
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

SHKTwitter::SHKTwitter() {
  const auto& config = SHKServiceConfig::shared();
  std::string web = config.value("SHKTwitter", "web");
  configure(config.value("SHKTwitter", "consumer_key"),
            config.value("SHKTwitter", "consumer_secret"), config.value("SHKTwitter", "callback"),
            web + "/oauth/authorize", web + "/oauth/request_token", web + "/oauth/access_token");
  apiBase_ = config.value("SHKTwitter", "api");
  shortenerBase_ = config.value("SHKTwitter", "shortener");
  picturesBase_ = config.value("SHKTwitter", "pictures");
  shortenerLogin_ = config.value("SHKTwitter", "shortener_login");
  shortenerKey_ = config.value("SHKTwitter", "shortener_apikey");
}

std::optional<std::string> SHKTwitter::status() const {
  auto value = item() ? item()->customValueForKey("status") : std::nullopt;
  return value ? value->view().asString() : std::nullopt;
}

void SHKTwitter::setStatus(const std::string& status) {
  item()->setCustomValue(status, "status");
}

std::string SHKTwitter::statusWithLink(const std::string& link) const {
  std::string text = item()->text().value_or(item()->title().value_or(""));
  return text + " " + link;
}

void SHKTwitter::show() {
  switch (item()->shareType()) {
    case SHKShareTypeURL:
      shortenURL();
      break;
    case SHKShareTypeText:
      setStatus(item()->text().value_or(""));
      showTwitterForm();
      break;
    case SHKShareTypeImage:
      setStatus(item()->title().value_or(""));
      showTwitterForm();
      break;
    default:
      break;
  }
}

void SHKTwitter::showTwitterForm() {
  auto form =
      std::make_shared<SHKTwitterForm>(std::static_pointer_cast<SHKTwitter>(shared_from_this()));
  form->view();
  form->textView()->setText(status().value_or(""));
  form->setHasAttachment(item()->image() != nullptr);
  presentForm(form);
}

void SHKTwitter::sendForm(SHKTwitterForm& form) {
  setStatus(form.textView()->text());
  tryToSend();
}

bool SHKTwitter::validate() const {
  auto text = status();
  return text && base::utf16Length(*text) <= SHKTwitterForm::kLimit;
}

bool SHKTwitter::send() {
  if (xAuth_ && item()->customBoolForSwitchKey("followMe")) followMe();
  if (!validate()) {
    show();
    return false;
  }
  if (item()->shareType() == SHKShareTypeImage) {
    sendImage();
  } else {
    sendStatus();
  }
  sendDidStart();
  return true;
}

void SHKTwitter::sendStatus() {
  auto url = net::Url::parse(apiBase_ + "/1/statuses/update.json");
  if (!url) return sendDidFailWithError(SHK::error("There was an error while sharing"));
  auto request = std::make_shared<OAMutableURLRequest>(*url, consumer(), accessToken());
  request->setHttpMethod("POST");
  request->setParameters({{"status", status().value_or("")}});
  auto self = std::static_pointer_cast<SHKTwitter>(shared_from_this());
  OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request, {[self](const OAServiceTicket& ticket, const std::string& data) {
                  self->finishStatus(ticket.didSucceed(), data);
                },
                [self](const OAServiceTicket&, const std::optional<net::Error>& error) {
                  self->sendDidFailWithError(
                      errorOf(error).value_or(SHK::error("There was an error while sharing")));
                }})
      ->start();
}

std::string SHKTwitter::errorMessage(std::string_view answer) {
  static constexpr std::string_view kMarker = "\"error\":\"";
  size_t at = answer.find(kMarker);
  if (at == std::string_view::npos) return "Unknown Error";
  std::string_view rest = answer.substr(at + kMarker.size());
  return std::string(rest.substr(0, rest.find('"')));
}

void SHKTwitter::finishStatus(bool succeeded, const std::string& data) {
  if (succeeded) return sendDidFinish();
  std::string message = errorMessage(data);
  if (message == "Invalid / used nonce") return sendDidFailShouldRelogin();
  sendDidFailWithError(SHKError{"Twitter", 2, message});
}

void SHKTwitter::shortenURL() {
  std::string longUrl =
      item()->url() ? net::unescape(item()->url()->absoluteString()) : std::string();
  if (!SHK::connected()) {
    setStatus(item()->title().value_or("") + " " + longUrl);
    showTwitterForm();
    return;
  }
  if (!quiet()) {
    SHKActivityIndicator::currentIndicator()->displayActivity(base::localized("Shortening URL..."));
  }
  auto url =
      net::Url::parse(shortenerBase_ + "/v3/shorten?login=" + SHK::encodeURL(shortenerLogin_) +
                      "&apikey=" + SHK::encodeURL(shortenerKey_) + "&longUrl=" +
                      SHK::encodeURL(item()->url() ? std::optional(item()->url()->absoluteString())
                                                   : std::nullopt) +
                      "&format=txt");
  if (!url) {
    SHKActivityIndicator::currentIndicator()->hide();
    setStatus(statusWithLink(longUrl));
    showTwitterForm();
    return;
  }
  // The request holds the service until it ends.
  auto self = std::static_pointer_cast<SHKTwitter>(shared_from_this());
  setRequest(SHKRequest::create(
      *url, std::nullopt, [self](SHKRequest& request) { self->shortenURLFinished(request); }, "GET",
      true));
}

void SHKTwitter::shortenURLFinished(SHKRequest& request) {
  SHKActivityIndicator::currentIndicator()->hide();
  std::string longUrl =
      item()->url() ? net::unescape(item()->url()->absoluteString()) : std::string();
  std::string result = trimLineBreaks(request.getResult().value_or(""));
  std::optional<std::string> link;
  if (result == "ALREADY_A_BITLY_LINK") {
    link = longUrl;
  } else if (request.success()) {
    // Only an absolute web address is a short link; error codes such as INVALID_LOGIN are not.
    auto parsed = net::Url::parse(result);
    std::string scheme = parsed ? lower(parsed->scheme()) : "";
    if (parsed && (scheme == "http" || scheme == "https") && !parsed->host().empty()) {
      link = result;
    }
  }
  if (!link) {
    std::make_shared<ui::AlertView>(base::localized("Shorten URL Error"),
                                    base::localized("We could not shorten the URL."), nullptr,
                                    base::localized("Continue"))
        ->show();
    link = longUrl;
  }
  setStatus(statusWithLink(*link));
  setRequest(nullptr);
  showTwitterForm();
}

std::optional<std::string> SHKTwitter::pictureLink(std::string_view answer) {
  std::string text = lower(answer);
  size_t open = text.find("<url>");
  size_t close = text.find("</url>");
  if (open == std::string::npos || close == std::string::npos || close < open + 5) {
    return std::nullopt;
  }
  return std::string(answer.substr(open + 5, close - open - 5));
}

std::string SHKTwitter::multipartBody(const std::string& jpeg, const std::string& status) {
  std::string boundary = kBoundary;
  std::string body = "--" + boundary + "\r\n";
  body += "Content-Disposition: form-data; name=\"media\"; filename=\"upload.jpg\"\r\n";
  body += "Content-Type: image/jpg\r\n\r\n";
  body += jpeg + "\r\n";
  body += "--" + boundary + "\r\n";
  body += "Content-Disposition: form-data; name=\"message\"\r\n\r\n";
  body += status + "\r\n";
  body += "--" + boundary + "--\r\n";
  return body;
}

std::string SHKTwitter::pictureData(const graphics::Image& image) {
  float quality = 0.9f;
  std::string data = image.jpegData(quality);
  while (data.size() > kMaxPictureBytes && quality > 0.1f) {
    quality -= 0.1f;
    data = image.jpegData(quality);
  }
  return data;
}

void SHKTwitter::sendImage() {
  auto check = net::Url::parse(apiBase_ + "/1/account/verify_credentials.json");
  auto upload = net::Url::parse(picturesBase_ + "/api/2/upload.xml");
  if (!check || !upload || !item()->image()) {
    return sendDidFailWithError(SHK::error("There was an error while sharing"));
  }
  std::string realm = apiBase_ + "/";
  OAMutableURLRequest verify(*check, consumer(), accessToken(), realm, signatureProvider());
  verify.setHttpMethod("GET");
  verify.prepare();
  auto request = std::make_shared<OAMutableURLRequest>(*upload, consumer(), accessToken(), realm,
                                                       signatureProvider());
  request->setHttpMethod("POST");
  request->setValue("X-Auth-Service-Provider", check->absoluteString());
  request->setValue("X-Verify-Credentials-Authorization",
                    verify.valueForHeaderField("Authorization"));
  request->setValue("Content-Type", std::string("multipart/form-data; boundary=") + kBoundary);
  request->setHttpBody(multipartBody(pictureData(*item()->image()), status().value_or("")));
  auto self = std::static_pointer_cast<SHKTwitter>(shared_from_this());
  OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(
      request,
      {[self](const OAServiceTicket& ticket, const std::string& data) {
         if (!ticket.didSucceed())
           return self->sendDidFailWithError(SHK::error("There was an error while sharing"));
         auto link = pictureLink(data);
         // One outcome per share: that of the status with the link, or this one without a link.
         if (!link) return self->sendDidFinish();
         self->setStatus(*self->status() + " " + *link);
         self->sendStatus();
       },
       [self](const OAServiceTicket&, const std::optional<net::Error>& error) {
         self->sendDidFailWithError(
             errorOf(error).value_or(SHK::error("There was an error while sharing")));
       }})
      ->start();
}

void SHKTwitter::followMe() {
  item()->setCustomValue(std::nullopt, "followMe");
  auto url = net::Url::parse(apiBase_ + "/1/friendships/create/" + kFollowAccount + ".json");
  if (!url) return;
  auto request = std::make_shared<OAMutableURLRequest>(*url, consumer(), accessToken());
  request->setHttpMethod("POST");
  OAAsynchronousDataFetcher::asynchronousFetcherWithRequest(request, {})->start();
}

void SHKTwitter::promptAuthorization() {
  if (xAuth_) {
    SHKSharer::promptAuthorization();
  } else {
    SHKOAuthSharer::promptAuthorization();
  }
}

std::vector<SHKFormFieldSettings> SHKTwitter::authorizationFormFields() const {
  auto fields = SHKSharer::authorizationFormFields();
  if (!std::string_view(kFollowAccount).empty()) {
    fields.push_back(SHKFormFieldSettings::make(base::localized("Follow %@", kFollowAccount),
                                                "followMe", SHKFormFieldSettings::Switch, "1"));
  }
  return fields;
}

std::optional<std::string> SHKTwitter::authorizationFormCaption() const {
  // The site's domain name with a capital letter: "Twitter.com".
  auto site = net::Url::parse(SHKServiceConfig::shared().value("SHKTwitter", "web"));
  std::string domain = site ? site->host() : std::string();
  if (lower(domain).starts_with("www.")) domain.erase(0, 4);
  if (!domain.empty())
    domain[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(domain[0])));
  return base::localized("Create a free account at %@", domain);
}

void SHKTwitter::authorizationFormValidate(SHKFormController& form) {
  // The login goes straight to the access token: no request token, no page.
  setPendingForm(sharedForm(form));
  tokenAccess();
}

void SHKTwitter::tokenAccessModifyRequest(OAMutableURLRequest& request) {
  if (!xAuth_ || pendingAction() == PendingRefreshToken) return;
  auto values = pendingForm() ? pendingForm()->formValues() : SHKFormController::Values{};
  request.setParameters({{"x_auth_username", values["username"]},
                         {"x_auth_password", values["password"]},
                         {"x_auth_mode", "client_auth"}});
}

void SHKTwitter::tokenAccessTicketDidFinish(const OAServiceTicket& ticket,
                                            const std::string& data) {
  if (xAuth_ && pendingAction() != PendingRefreshToken) {
    auto form = pendingForm();
    if (!ticket.didSucceed()) {
      SHKActivityIndicator::currentIndicator()->hide();
      // Twitter's answer says what was wrong with the login: shown as text (never as a format),
      // valid UTF-8 and of an alert's length.
      std::string said = base::utf16Prefix(base::trim(data), kMaxLoginErrorUnits);
      return tokenAccessTicketDidFail(
          said.empty() ? SHK::error("There was a problem requesting access from %@", sharerTitle())
                       : SHKError{SHKError::kDomain, SHKError::kCode, said});
    }
    if (form) {
      auto values = form->formValues();
      item()->setCustomValue(values["followMe"], "followMe");
      form->close();
    }
    setPendingForm(nullptr);
  }
  SHKOAuthSharer::tokenAccessTicketDidFinish(ticket, data);
}
