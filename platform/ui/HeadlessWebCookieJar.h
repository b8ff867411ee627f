#pragma once
#include <vector>

#include "platform/ui/WebCookieJar.h"

namespace ui {

// The headless engines' cookie jar: the cookies in memory, in the order they were added (one
// with the same domain, path and name replaces the older).
class HeadlessWebCookieJar : public WebCookieJar {
 public:
  std::vector<Cookie> cookies() override { return cookies_; }

 protected:
  void engineAdd(const Cookie& cookie) override;
  void engineDelete(const Cookie& cookie) override;

 private:
  std::vector<Cookie> cookies_;
};

}  // namespace ui
