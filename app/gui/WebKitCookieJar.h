#pragma once
#include <webkit/webkit.h>

#include <vector>

#include "platform/ui/WebCookieJar.h"

// The web views' cookies in WebKit's cookie manager (of the default network session, which every
// web view of the program shares). WebKit answers asynchronously; each call waits for its answer
// in a nested turn of the GLib loop (5 seconds at most).
class WebKitCookieJar : public ui::WebCookieJar {
 public:
  WebKitCookieJar();

  std::vector<Cookie> cookies() override;
  // Open to the WebKit module, which serves the program's jar from this one.
  void engineAdd(const Cookie& cookie) override;
  void engineDelete(const Cookie& cookie) override;

 private:
  WebKitCookieManager* manager_;
};
