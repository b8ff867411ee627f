#pragma once
#include "sharing/core/SHKSharer.h"

// Opens a link in the user's browser. Only http and https links are handed over; anything else,
// or a browser that could not be asked, is a failure.
class SHKSafari : public SHKSharer {
 public:
  static constexpr const char* kClassName = "SHKSafari";
  static void registerService();

  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  bool shareRequiresInternetConnection() const override { return false; }
  bool requiresAuthentication() const override { return false; }
  // Works on the spot: no share form, straight to send.
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override;
};
