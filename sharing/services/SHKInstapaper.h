#pragma once
#include "sharing/core/SHKSharer.h"

// Saves links to Instapaper with the user's name and password.
class SHKInstapaper : public SHKSharer {
 public:
  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  std::optional<std::string> authorizationFormCaption() const override;
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }

  void authorizationFormValidate(SHKFormController& form) override;
  bool send() override;

 private:
  void authFinished(SHKRequest& request);
  void sendFinished(SHKRequest& request);
};
