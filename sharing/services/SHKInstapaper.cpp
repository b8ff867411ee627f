#include "sharing/services/SHKInstapaper.h"

#include "platform/base/Localization.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"
#include "sharing/services/ServiceAddress.h"
#include "sharing/services/WebServiceLogin.h"

namespace {
constexpr const char* kService = "SHKInstapaper";
constexpr const char* kCredentialsRefused =
    "Sorry, Instapaper did not accept your credentials. Please try again.";
}  // namespace

std::string SHKInstapaper::sharerTitle() const {
  return base::localized("Instapaper");
}

std::optional<std::string> SHKInstapaper::authorizationFormCaption() const {
  return base::localized("Create a free account at %@",
                         SHKServiceConfig::shared().value(kService, "web"));
}

void SHKInstapaper::authorizationFormValidate(SHKFormController& form) {
  auto address = serviceAddress(kService, "api", "/api/authenticate");
  if (!address) return;
  showLoggingIn(*this);
  auto values = form.formValues();
  std::string params = "username=" + SHK::encodeFormValue(values["username"]) +
                       "&password=" + SHK::encodeFormValue(values["password"]);
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *address, params,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKInstapaper&>(*self).authFinished(request);
      },
      "POST", true));
  setPendingForm(sharedForm(form));
}

void SHKInstapaper::authFinished(SHKRequest& request) {
  hideLoggingIn();
  int status = request.response() ? request.response()->statusCode() : 0;
  if (request.success()) {
    if (auto form = pendingForm()) form->saveForm();
  } else {
    showAlert(base::localized("Login Error"),
              status == 403
                  ? base::localized(kCredentialsRefused)
                  : base::localized("Sorry, Instapaper encountered an error. Please try again."));
  }
  setPendingForm(nullptr);
}

bool SHKInstapaper::send() {
  if (!validateItem()) return false;
  auto address = serviceAddress(kService, "api", "/api/add");
  if (!address) return false;
  std::string params = "url=" + SHK::encodeURL(item()->url()->absoluteString()) +
                       "&username=" + SHK::encodeFormValue(getAuthValueForKey("username")) +
                       "&password=" + SHK::encodeFormValue(getAuthValueForKey("password"));
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *address, params,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKInstapaper&>(*self).sendFinished(request);
      },
      "POST", true));
  sendDidStart();
  return true;
}

void SHKInstapaper::sendFinished(SHKRequest& request) {
  if (request.success()) {
    sendDidFinish();
    return;
  }
  int status = request.response() ? request.response()->statusCode() : 0;
  if (status == 403) {
    sendDidFailWithError(SHK::error(kCredentialsRefused), true);
  } else if (status == 500) {
    sendDidFailWithError(SHK::error("The service encountered an error. Please try again later."));
  } else {
    sendDidFailWithError(SHK::error("There was a problem saving to Instapaper."));
  }
}
