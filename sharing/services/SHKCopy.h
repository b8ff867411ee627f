#pragma once
#include "sharing/core/SHKSharer.h"

// Puts a link (as text) or a picture on the clipboard and says "Copied!".
class SHKCopy : public SHKSharer {
 public:
  static constexpr const char* kClassName = "SHKCopy";
  static void registerService();

  std::string sharerTitle() const override;
  bool canShareURL() const override { return true; }
  bool canShareImage() const override { return true; }
  bool shareRequiresInternetConnection() const override { return false; }
  bool requiresAuthentication() const override { return false; }
  // Works on the spot: no share form, straight to send.
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override;
};
