#pragma once
#include "platform/net/Error.h"
#include "platform/net/UrlRequest.h"
#include "platform/ui/WebViewNavigationType.h"

namespace ui {

class WebView;

// Hears a web view's navigations and load events. Not owned by the web view. For every load the
// calls come in the order shouldStartLoadWithRequest, webViewDidStartLoad, then either
// webViewDidFinishLoad or didFailLoadWithError.
class WebViewDelegate {
 public:
  virtual ~WebViewDelegate() = default;
  // Returning false refuses the navigation: nothing is loaded and no other call follows.
  virtual bool shouldStartLoadWithRequest(WebView&, const net::UrlRequest&, WebViewNavigationType) {
    return true;
  }
  virtual void webViewDidStartLoad(WebView&) {}
  virtual void webViewDidFinishLoad(WebView&) {}
  virtual void didFailLoadWithError(WebView&, const net::Error&) {}
  // The page's title changed after webViewDidFinishLoad (its script set it, or it came late);
  // "document.title" now answers the new one.
  virtual void webViewDidChangeTitle(WebView&) {}
};

}  // namespace ui
