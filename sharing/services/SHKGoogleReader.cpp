#include "sharing/services/SHKGoogleReader.h"

#include <ctime>

#include "platform/base/Localization.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"
#include "sharing/services/ServiceAddress.h"
#include "sharing/services/WebServiceLogin.h"

namespace {
constexpr const char* kService = "SHKGoogleReader";

bool safeCookieText(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f || c == ';' || c == ',') return false;
  }
  return true;
}
}  // namespace

std::string SHKGoogleReader::sharerTitle() const {
  return base::localized("Google Reader");
}

std::optional<std::string> SHKGoogleReader::authorizationFormCaption() const {
  return base::localized("Create a free account at %@",
                         SHKServiceConfig::shared().value(kService, "web"));
}

std::vector<SHKFormFieldSettings> SHKGoogleReader::authorizationFormFields() const {
  return {SHKFormFieldSettings::make(base::localized("Email"), "email", SHKFormFieldSettings::Text),
          SHKFormFieldSettings::make(base::localized("Password"), "password",
                                     SHKFormFieldSettings::Password)};
}

std::optional<std::vector<SHKFormFieldSettings>> SHKGoogleReader::shareFormFieldsForType(
    int32_t type) {
  if (type != SHKShareTypeURL) return std::nullopt;
  return std::vector<SHKFormFieldSettings>{
      SHKFormFieldSettings::make(base::localized("Note"), "text", SHKFormFieldSettings::Text,
                                 item()->text()),
      SHKFormFieldSettings::make(base::localized("Public"), "share", SHKFormFieldSettings::Switch,
                                 "0")};
}

SHKGoogleReader::Session SHKGoogleReader::parseSession(std::string_view answer) {
  Session session;
  while (!answer.empty()) {
    size_t end = answer.find('\n');
    std::string_view line = answer.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    size_t equals = line.find('=');
    if (equals != std::string_view::npos && equals > 0 &&
        line.find('=', equals + 1) == std::string_view::npos && safeCookieText(line)) {
      session[std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
    }
    if (end == std::string_view::npos) break;
    answer.remove_prefix(end + 1);
  }
  return session;
}

net::UrlRequest::HeaderFields SHKGoogleReader::signatureFields(const Session& session) {
  std::string cookies;
  for (const auto& [name, value] : session) {
    if (!cookies.empty()) cookies += "; ";
    cookies += name + "=" + value;
  }
  net::UrlRequest::HeaderFields fields;
  fields.emplace_back("Cookie", cookies);
  auto auth = session.find("Auth");
  fields.emplace_back("Authorization",
                      "GoogleLogin auth=" + (auth == session.end() ? "" : auth->second));
  return fields;
}

void SHKGoogleReader::start(net::Url url, std::optional<std::string> params,
                            void (SHKGoogleReader::*finished)(SHKRequest&), bool sign) {
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  std::string method = params ? "POST" : "GET";
  auto request = SHKRequest::create(
      std::move(url), std::move(params),
      [weak, finished](SHKRequest& request) {
        if (auto self = weak.lock()) (static_cast<SHKGoogleReader&>(*self).*finished)(request);
      },
      method, false);
  // The session goes with these requests only; it never joins the stored cookies.
  if (sign && session_) request->setHeaderFields(signatureFields(*session_));
  setRequest(request);
  request->start();
}

bool SHKGoogleReader::getSession(const std::string& email, const std::string& password) {
  auto address = serviceAddress(kService, "accounts", "/accounts/ClientLogin");
  if (!address) return false;
  std::string source = SHK::encodeFormValue(std::string("Sharing-") +
                                            SHK::encodeFormValue(std::string(SHK::kMyAppName)) +
                                            "-" + SHK::kMyAppVersion);
  std::string params = "service=reader&source=" + source + "&Email=" + SHK::encodeFormValue(email) +
                       "&Passwd=" + SHK::encodeFormValue(password) + "&accountType=GOOGLE";
  start(*address, params, &SHKGoogleReader::authFinished, false);
  return true;
}

void SHKGoogleReader::authorizationFormValidate(SHKFormController& form) {
  auto values = form.formValues();
  if (!getSession(values["email"], values["password"])) return;
  showLoggingIn(*this);
  setPendingForm(sharedForm(form));
}

void SHKGoogleReader::authFinished(SHKRequest& request) {
  if (!sendAfterLogin_) hideLoggingIn();
  session_ = parseSession(request.getResult().value_or(""));
  auto form = pendingForm();
  setPendingForm(nullptr);
  if (session_->contains("Auth")) {
    if (sendAfterLogin_) {
      tryToSend();
    } else if (form) {
      form->saveForm();
    }
    return;
  }
  auto error = session_->find("Error");
  bool badLogin = error != session_->end() && error->second == "BadAuthentication";
  std::string message = badLogin ? base::localized("Incorrect username and password")
                        : error != session_->end()
                            ? error->second
                            : base::localized("There was an error logging into Google Reader");
  if (sendAfterLogin_) {
    // The send that waited for this login fails with it.
    sendAfterLogin_ = false;
    sendDidFailWithError(SHKError{SHKError::kDomain, SHKError::kCode, message}, badLogin);
    return;
  }
  showAlert(base::localized("Login Error"), message);
}

bool SHKGoogleReader::send() {
  if (!validateItem()) return false;
  bool wasWaiting = sendAfterLogin_;
  if (session_) {
    sendAfterLogin_ = false;
    auto address = serviceAddress(kService, "reader",
                                  "/reader/api/0/token?ck=" + std::to_string(std::time(nullptr)));
    if (!address) return false;
    start(*address, std::nullopt, &SHKGoogleReader::tokenFinished, true);
  } else {
    if (!getSession(getAuthValueForKey("email").value_or(""),
                    getAuthValueForKey("password").value_or(""))) {
      return false;
    }
    sendAfterLogin_ = true;
  }
  if (!wasWaiting) sendDidStart();
  return true;
}

void SHKGoogleReader::tokenFinished(SHKRequest& request) {
  if (request.success()) {
    sendWithToken(request.getResult().value_or(""));
  } else {
    sendDidFailWithError(SHK::error("There was a problem authenticating your account."));
  }
}

void SHKGoogleReader::sendWithToken(const std::string& token) {
  auto address = serviceAddress(kService, "reader", "/reader/api/0/item/edit");
  if (!address) {
    sendDidFailWithError(SHK::error("There was a problem saving your note."));
    return;
  }
  std::string params = "T=" + token +
                       "&linkify=false&snippet=" + SHK::encodeFormValue(item()->text()) +
                       "&srcTitle=" + SHK::encodeFormValue(std::string(SHK::kMyAppName)) +
                       "&srcUrl=" + SHK::encodeFormValue(std::string(SHK::kMyAppURL)) +
                       "&title=" + SHK::encodeFormValue(item()->title()) +
                       "&url=" + SHK::encodeURL(item()->url()->absoluteString()) +
                       "&share=" + (item()->customBoolForSwitchKey("share") ? "true" : "");
  start(*address, params, &SHKGoogleReader::sendFinished, true);
}

void SHKGoogleReader::sendFinished(SHKRequest& request) {
  if (request.success()) {
    sendDidFinish();
  } else {
    sendDidFailWithError(SHK::error("There was a problem saving your note."));
  }
}
