#include "sharing/services/SHKTumblr.h"

#include "platform/base/Localization.h"
#include "platform/base/RunLoop.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKRequest.h"
#include "sharing/services/ServiceAddress.h"
#include "sharing/services/WebServiceLogin.h"

namespace {
constexpr const char* kService = "SHKTumblr";
constexpr const char* kServiceError = "The service encountered an error. Please try again later.";
constexpr double kJpegQuality = 0.9;

std::optional<std::string> customText(const SHKItem& item, const std::string& key) {
  auto value = item.customValueForKey(key);
  return value ? value->view().asString() : std::nullopt;
}

void addPart(std::string& body, const std::string& name, const std::string& value) {
  body += std::string("\r\n--") + SHKTumblr::kBoundary + "\r\n";
  body += "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
  body += value;
}
}  // namespace

std::string SHKTumblr::sharerTitle() const {
  return base::localized("Tumblr");
}

std::optional<std::string> SHKTumblr::authorizationFormCaption() const {
  return base::localized("Set up a free account at %@",
                         SHKServiceConfig::shared().value(kService, "web"));
}

std::vector<SHKFormFieldSettings> SHKTumblr::authorizationFormFields() const {
  return {SHKFormFieldSettings::make(base::localized("Email"), "email", SHKFormFieldSettings::Text),
          SHKFormFieldSettings::make(base::localized("Password"), "password",
                                     SHKFormFieldSettings::Password)};
}

std::optional<std::vector<SHKFormFieldSettings>> SHKTumblr::shareFormFieldsForType(int32_t type) {
  std::vector<SHKFormFieldSettings> fields;
  if (type == SHKShareTypeImage) {
    fields.push_back(SHKFormFieldSettings::make(base::localized("Caption"), "caption",
                                                SHKFormFieldSettings::Text));
  } else {
    fields.push_back(SHKFormFieldSettings::make(base::localized("Title"), "title",
                                                SHKFormFieldSettings::Text, item()->title()));
  }
  fields.push_back(SHKFormFieldSettings::make(base::localized("Tags"), "tags",
                                              SHKFormFieldSettings::Text, item()->tags()));
  fields.push_back(
      SHKFormFieldSettings::make(base::localized("Slug"), "slug", SHKFormFieldSettings::Text));
  fields.push_back(SHKFormFieldSettings::make(base::localized("Private"), "private",
                                              SHKFormFieldSettings::Switch, "0"));
  fields.push_back(SHKFormFieldSettings::make(base::localized("Send to Twitter"), "twitter",
                                              SHKFormFieldSettings::Switch, "0"));
  return fields;
}

void SHKTumblr::authorizationFormValidate(SHKFormController& form) {
  auto address = serviceAddress(kService, "api", "/api/authenticate");
  if (!address) return;
  showLoggingIn(*this);
  auto values = form.formValues();
  std::string params = "email=" + SHK::encodeFormValue(values["email"]) +
                       "&password=" + SHK::encodeFormValue(values["password"]);
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *address, params,
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKTumblr&>(*self).authFinished(request);
      },
      "POST", true));
  setPendingForm(sharedForm(form));
}

void SHKTumblr::authFinished(SHKRequest& request) {
  hideLoggingIn();
  auto form = pendingForm();
  setPendingForm(nullptr);
  if (request.success()) {
    if (form) form->saveForm();
    return;
  }
  int status = request.response() ? request.response()->statusCode() : 0;
  showAlert(base::localized("Login Error"), status == 403
                                                ? base::localized("Invalid email or password.")
                                                : base::localized(kServiceError));
}

std::string SHKTumblr::formBody() const {
  const SHKItem& shared = *item();
  std::string body = "email=" + SHK::encodeFormValue(getAuthValueForKey("email")) +
                     "&password=" + SHK::encodeFormValue(getAuthValueForKey("password"));
  body +=
      shared.customBoolForSwitchKey("twitter") ? "&send-to-twitter=auto" : "&send-to-twitter=no";
  // Tags and slug are form-encoded: "&" or "=" in them must not add a field.
  if (shared.tags()) body += "&tags=" + SHK::encodeFormValue(shared.tags());
  if (auto slug = customText(shared, "slug")) body += "&slug=" + SHK::encodeFormValue(slug);
  body += shared.customBoolForSwitchKey("private") ? "&private=1" : "&private=0";
  if (shared.shareType() == SHKShareTypeURL) {
    body += "&type=link&url=" + SHK::encodeURL(shared.url()->absoluteString());
    if (shared.title()) body += "&name=" + SHK::encodeFormValue(shared.title());
  } else {
    body += "&type=regular";
    if (shared.title()) body += "&title=" + SHK::encodeFormValue(shared.title());
    body += "&body=" + SHK::encodeFormValue(shared.text());
  }
  return body;
}

std::string SHKTumblr::multipartBody() const {
  const SHKItem& shared = *item();
  std::string body;
  addPart(body, "email", getAuthValueForKey("email").value_or(""));
  addPart(body, "password", getAuthValueForKey("password").value_or(""));
  addPart(body, "type", "photo");
  if (shared.tags()) addPart(body, "tags", *shared.tags());
  for (const char* key : {"caption", "slug"}) {
    if (auto value = customText(shared, key)) addPart(body, key, *value);
  }
  addPart(body, "private", shared.customBoolForSwitchKey("private") ? "1" : "0");
  addPart(body, "twitter", shared.customBoolForSwitchKey("twitter") ? "auto" : "no");
  body += std::string("\r\n--") + kBoundary + "\r\n";
  body += "Content-Disposition: form-data; name=\"data\"; filename=\"upload.jpg\"\r\n";
  body += "Content-Transfer-Encoding: image/jpg\r\n\r\n";
  body += shared.image()->jpegData(kJpegQuality);
  body += std::string("\r\n--") + kBoundary + "--\r\n";
  return body;
}

bool SHKTumblr::send() {
  if (!validateItem()) return false;
  if (item()->shareType() == SHKShareTypeImage) return sendImage();
  if (item()->shareType() != SHKShareTypeURL && item()->shareType() != SHKShareTypeText) {
    return false;
  }
  auto address = serviceAddress(kService, "api", "/api/write");
  if (!address) return false;
  std::weak_ptr<SHKSharer> weak = weak_from_this();
  setRequest(SHKRequest::create(
      *address, formBody(),
      [weak](SHKRequest& request) {
        if (auto self = weak.lock()) static_cast<SHKTumblr&>(*self).sendFinished(request);
      },
      "POST", true));
  sendDidStart();
  return true;
}

bool SHKTumblr::sendImage() {
  auto address = serviceAddress(kService, "api", "/api/write");
  if (!address) return false;
  net::UrlRequest request(*address,
                          net::UrlRequest::CachePolicy::ReloadIgnoringLocalAndRemoteCacheData,
                          SHKRequest::kTimeoutSeconds);
  request.setHttpMethod("POST");
  request.setValue("Content-Type", std::string("multipart/form-data; boundary=") + kBoundary);
  request.setHttpBody(multipartBody());
  data_.clear();
  response_.reset();
  connection_ = net::UrlConnection::start(std::move(request), this);
  sendDidStart();
  if (!connection_) {
    std::weak_ptr<SHKSharer> weak = weak_from_this();
    base::RunLoop::main().post([weak] {
      if (auto self = weak.lock()) static_cast<SHKTumblr&>(*self).finish(false);
    });
  }
  return true;
}

void SHKTumblr::didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) {
  response_ = response;
  data_.clear();
}

void SHKTumblr::didReceiveData(net::UrlConnection& connection, std::string_view data) {
  if (data_.size() + data.size() > SHKRequest::kMaxBodyBytes) {
    connection.cancel();
    finish(false);
    return;
  }
  data_.append(data);
}

void SHKTumblr::didFinishLoading(net::UrlConnection&) {
  finish(true);
}

void SHKTumblr::didFailWithError(net::UrlConnection&, const net::Error&) {
  finish(false);
}

void SHKTumblr::finish(bool transferred) {
  int status = response_ ? response_->statusCode() : 0;
  // The connection goes on the next turn: this may be inside one of its reports.
  std::shared_ptr<net::UrlConnection> gone = std::move(connection_);
  base::RunLoop::main().performAfter(0, [gone] {});
  reportStatus(status, transferred && (status == 200 || status == 201));
}

void SHKTumblr::sendFinished(SHKRequest& request) {
  reportStatus(request.response() ? request.response()->statusCode() : 0, request.success());
}

void SHKTumblr::reportStatus(int status, bool success) {
  if (success) {
    sendDidFinish();
  } else if (status == 403) {
    sendDidFailWithError(SHK::error("Invalid email or password."), true);
  } else if (status == 500) {
    sendDidFailWithError(SHK::error(kServiceError));
  } else {
    sendDidFailWithError(SHK::error("There was a sending your post to Tumblr."));
  }
}
