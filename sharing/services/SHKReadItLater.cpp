#include "sharing/services/SHKReadItLater.h"

#include "platform/base/Localization.h"
#include "platform/base/Strings.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"
#include "sharing/services/ServiceAddress.h"
#include "sharing/services/WebServiceLogin.h"

namespace {
constexpr const char* kService = "SHKReadItLater";

std::string apiKey() {
  return SHK::encodeFormValue(SHKServiceConfig::shared().value(kService, "apikey"));
}

// A JSON string value as a form value: escaped for JSON first, so that a quotation mark stays
// inside the string, then form-encoded, so that "&" cannot start another field.
std::string jsonFormValue(const std::optional<std::string>& text) {
  return SHK::encodeFormValue(base::escapeJson(text.value_or("")));
}
}  // namespace

std::string SHKReadItLater::errorText(const std::optional<net::UrlResponse>& response) {
  std::string text = response ? response->valueForHeaderField("X-Error") : "";
  return text.empty() ? base::localized("There was a problem saving to Read It Later.") : text;
}

std::string SHKReadItLater::sharerTitle() const {
  return base::localized("Read It Later");
}

std::optional<std::string> SHKReadItLater::authorizationFormCaption() const {
  return base::localized("Create a free account at %@",
                         SHKServiceConfig::shared().value(kService, "web"));
}

std::optional<std::vector<SHKFormFieldSettings>> SHKReadItLater::shareFormFieldsForType(
    int32_t type) {
  if (type != SHKShareTypeURL) return std::nullopt;
  return std::vector<SHKFormFieldSettings>{
      SHKFormFieldSettings::make(base::localized("Title"), "title", SHKFormFieldSettings::Text,
                                 item()->title()),
      SHKFormFieldSettings::make(base::localized("Tags"), "tags", SHKFormFieldSettings::Text,
                                 item()->tags())};
}

void SHKReadItLater::authorizationFormValidate(SHKFormController& form) {
  auto address = serviceAddress(kService, "api", "/v2/auth");
  if (!address) return;
  showLoggingIn(*this);
  auto values = form.formValues();
  std::string params = "apikey=" + apiKey() +
                       "&username=" + SHK::encodeFormValue(values["username"]) +
                       "&password=" + SHK::encodeFormValue(values["password"]);
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *address, params,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKReadItLater&>(*self).authFinished(request);
      },
      "POST", true));
  setPendingForm(sharedForm(form));
}

void SHKReadItLater::authFinished(SHKRequest& request) {
  hideLoggingIn();
  auto form = pendingForm();
  setPendingForm(nullptr);
  if (request.success()) {
    if (form) form->saveForm();
  } else {
    showAlert(base::localized("Login Error"), errorText(request.response()));
  }
}

bool SHKReadItLater::send() {
  if (!validateItem()) return false;
  auto address = serviceAddress(kService, "api", "/v2/send");
  if (!address) return false;
  std::string url = SHK::encodeURL(item()->url()->absoluteString());
  std::string params =
      "apikey=" + apiKey() + "&username=" + SHK::encodeFormValue(getAuthValueForKey("username")) +
      "&password=" + SHK::encodeFormValue(getAuthValueForKey("password")) +
      "&new={\"0\":{\"url\":\"" + url + "\",\"title\":\"" + jsonFormValue(item()->title()) + "\"}}";
  if (item()->tags() && !item()->tags()->empty()) {
    params += "&update_tags={\"0\":{\"url\":\"" + url + "\",\"tags\":\"" +
              jsonFormValue(item()->tags()) + "\"}}";
  }
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *address, params,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKReadItLater&>(*self).sendFinished(request);
      },
      "POST", true));
  sendDidStart();
  return true;
}

void SHKReadItLater::sendFinished(SHKRequest& request) {
  int status = request.response() ? request.response()->statusCode() : 0;
  if (request.success()) {
    sendDidFinish();
  } else if (status == 401) {
    sendDidFailShouldRelogin();
  } else {
    sendDidFailWithError(
        SHKError{SHKError::kDomain, SHKError::kCode, errorText(request.response())});
  }
}
