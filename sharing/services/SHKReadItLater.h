#pragma once
#include "platform/net/UrlResponse.h"
#include "sharing/core/SHKSharer.h"

// Saves links to Read It Later, always without a share form when it may.
class SHKReadItLater : public SHKSharer {
 public:
  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  std::optional<std::string> authorizationFormCaption() const override;
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type) override;
  bool shouldAutoShare() const override { return true; }

  // The failure text of an answer: the service's "X-Error" header as it is, or ours when it
  // sent none.
  static std::string errorText(const std::optional<net::UrlResponse>& response);

  void authorizationFormValidate(SHKFormController& form) override;
  bool send() override;

 private:
  void authFinished(SHKRequest& request);
  void sendFinished(SHKRequest& request);
};
