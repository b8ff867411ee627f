#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/net/UrlConnection.h"
#include "sharing/core/SHKSharer.h"

// Posts links, text and pictures to Tumblr with the user's e-mail and password. Pictures go as
// a multipart upload over the service's own connection; the rest through the request helper.
class SHKTumblr : public SHKSharer, public net::UrlConnectionDelegate {
 public:
  static constexpr const char* kBoundary = "0xKhTmLbOuNdArY";

  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  bool canShareText() const override { return true; }
  bool canShareImage() const override { return true; }
  bool shouldAutoShare() const override { return false; }
  std::optional<std::string> authorizationFormCaption() const override;
  std::vector<SHKFormFieldSettings> authorizationFormFields() const override;
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type) override;

  void authorizationFormValidate(SHKFormController& form) override;
  bool send() override;

  // The picture upload's connection reports.
  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) override;
  void didReceiveData(net::UrlConnection& connection, std::string_view data) override;
  void didFinishLoading(net::UrlConnection&) override;
  void didFailWithError(net::UrlConnection&, const net::Error&) override;

 private:
  std::string formBody() const;
  std::string multipartBody() const;
  bool sendImage();
  void authFinished(SHKRequest& request);
  void sendFinished(SHKRequest& request);
  // Judges the picture upload like a request's answer.
  void finish(bool transferred);
  // The outcome of a send with this status (0: no answer).
  void reportStatus(int status, bool success);

  std::unique_ptr<net::UrlConnection> connection_;
  std::string data_;
  std::optional<net::UrlResponse> response_;
};
