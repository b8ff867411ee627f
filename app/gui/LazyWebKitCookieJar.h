#pragma once
#include <vector>

#include "platform/ui/WebCookieJar.h"

// The window's web cookie jar: WebKit's own, reached through the WebKit module, which the first
// call that needs WebKit's jar opens.
class LazyWebKitCookieJar : public ui::WebCookieJar {
 public:
  std::vector<Cookie> cookies() override;

 protected:
  void engineAdd(const Cookie& cookie) override;
  void engineDelete(const Cookie& cookie) override;
};
