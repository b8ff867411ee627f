#pragma once
#include <optional>
#include <string>

#include "facebook/FBStreamDialog.h"

// The publishing page with the share's text already in its message box.
class SHKFBStreamDialog : public FBStreamDialog {
 public:
  using FBStreamDialog::FBStreamDialog;

  std::string_view className() const override { return "SHKFBStreamDialog"; }

  const std::optional<std::string>& defaultStatus() const { return defaultStatus_; }
  void setDefaultStatus(std::optional<std::string> status) { defaultStatus_ = std::move(status); }

  // The script that puts `status` into the page's message box. The text travels escaped with
  // only letters, digits, "%" and a few marks, so no text can end the script's string.
  static std::string prefillScript(const std::string& status);

 protected:
  void webViewDidFinishLoad(ui::WebView& webView) override;

 private:
  std::optional<std::string> defaultStatus_;
};
