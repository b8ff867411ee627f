#include "sharing/services/SHKPinboard.h"

#include "platform/base/Localization.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"
#include "sharing/services/BookmarkFields.h"
#include "sharing/services/WebServiceLogin.h"

namespace {
constexpr const char* kService = "SHKPinboard";

std::string body(SHKRequest& request) {
  return request.getResult().value_or("");
}
}  // namespace

std::string SHKPinboard::sharerTitle() const {
  return base::localized("Pinboard");
}

std::optional<std::string> SHKPinboard::authorizationFormCaption() const {
  return base::localized("Create an account at %@",
                         SHKServiceConfig::shared().value(kService, "web"));
}

std::optional<std::vector<SHKFormFieldSettings>> SHKPinboard::shareFormFieldsForType(int32_t type) {
  if (type != SHKShareTypeURL) return std::nullopt;
  return bookmarkFields(*item());
}

std::optional<net::Url> SHKPinboard::address(const std::string& user, const std::string& password,
                                             const std::string& path) {
  std::string base = SHKServiceConfig::shared().value(kService, "api");
  size_t authority = base.find("://");
  if (authority == std::string::npos) return std::nullopt;
  // Escaped as components, so "@", ":", "/" or "?" in a password cannot move the host.
  base.insert(authority + 3,
              net::escapeComponent(user) + ":" + net::escapeComponent(password) + "@");
  return net::Url::parse(base + path);
}

void SHKPinboard::authorizationFormValidate(SHKFormController& form) {
  auto values = form.formValues();
  auto url = address(values["username"], values["password"], "/v1/posts/get");
  if (!url) return;
  showLoggingIn(*this);
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *url, std::nullopt,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKPinboard&>(*self).authFinished(request);
      },
      "GET", true));
  setPendingForm(sharedForm(form));
}

bool SHKPinboard::handleResponse(SHKRequest& request) {
  if (body(request) == kForbidden) {
    sendDidFailShouldRelogin();
    return false;
  }
  return true;
}

void SHKPinboard::authFinished(SHKRequest& request) {
  hideLoggingIn();
  auto form = pendingForm();
  setPendingForm(nullptr);
  if (acceptsLogin(request.response() ? request.response()->statusCode() : 0, body(request))) {
    if (form) form->saveForm();
  } else {
    sendDidFailShouldRelogin();
  }
}

bool SHKPinboard::send() {
  if (!validateItem()) return false;
  std::string query = "?url=" + SHK::encodeURL(item()->url()->absoluteString()) +
                      "&description=" + SHK::encodeFormValue(item()->title()) +
                      "&tags=" + SHK::encodeFormValue(item()->tags()) +
                      "&extended=" + SHK::encodeFormValue(item()->text()) +
                      "&shared=" + (item()->customBoolForSwitchKey("shared") ? "yes" : "no");
  auto url = address(getAuthValueForKey("username").value_or(""),
                     getAuthValueForKey("password").value_or(""), "/v1/posts/add" + query);
  if (!url) return false;
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *url, std::nullopt,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKPinboard&>(*self).sendFinished(request);
      },
      "GET", true));
  sendDidStart();
  return true;
}

bool SHKPinboard::acceptsLogin(int status, std::string_view body) {
  // Only a good answer stores the login: an empty body after a failed connection is none.
  return status == 200 && body != kForbidden;
}

SHKPinboard::Answer SHKPinboard::judgeSend(bool success, std::string_view body) {
  if (body == kForbidden) return Answer::LoginRefused;
  return success && body.find("\"done\"") != std::string_view::npos ? Answer::Saved
                                                                    : Answer::Failed;
}

void SHKPinboard::sendFinished(SHKRequest& request) {
  // A refused login was reported by handleResponse; that is the share's one outcome.
  if (!handleResponse(request)) return;
  if (judgeSend(request.success(), body(request)) == Answer::Saved) {
    sendDidFinish();
  } else {
    sendDidFailWithError(SHK::error("There was an error saving to Pinboard"));
  }
}
