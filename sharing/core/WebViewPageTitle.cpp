#include "sharing/core/WebViewPageTitle.h"

std::string pageTitle(ui::WebView& webView) {
  return webView.stringByEvaluatingJavaScriptFromString("document.title");
}
