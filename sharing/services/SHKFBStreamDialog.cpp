#include "sharing/services/SHKFBStreamDialog.h"

#include "platform/base/Strings.h"
#include "sharing/core/SHK.h"

std::string SHKFBStreamDialog::prefillScript(const std::string& status) {
  std::string encoded = SHK::encodeFormValue(status);
  base::replaceAll(encoded, "'", "\\'");
  return "document.getElementsByName('feedform_user_message')[0].value = "
         "decodeURIComponent('" +
         encoded + "')";
}

void SHKFBStreamDialog::webViewDidFinishLoad(ui::WebView& webView) {
  FBStreamDialog::webViewDidFinishLoad(webView);
  if (!defaultStatus_) return;
  webView.stringByEvaluatingJavaScriptFromString(prefillScript(*defaultStatus_));
  webView.stringByEvaluatingJavaScriptFromString(
      "document.getElementsByName('feedform_user_message')[0].style.height='100px'");
}
