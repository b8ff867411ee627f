#include "app/gui/LazyWebKitCookieJar.h"

#include "app/gui/WebKitModule.h"

std::vector<LazyWebKitCookieJar::Cookie> LazyWebKitCookieJar::cookies() {
  return WebKitModule::load().cookies();
}

void LazyWebKitCookieJar::engineAdd(const Cookie& cookie) {
  WebKitModule::load().addCookie(cookie);
}

void LazyWebKitCookieJar::engineDelete(const Cookie& cookie) {
  WebKitModule::load().deleteCookie(cookie);
}
