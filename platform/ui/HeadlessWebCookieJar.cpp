#include "platform/ui/HeadlessWebCookieJar.h"

#include <algorithm>

namespace ui {

namespace {
bool sameSlot(const WebCookieJar::Cookie& a, const WebCookieJar::Cookie& b) {
  return a.domain == b.domain && a.path == b.path && a.name == b.name;
}
}  // namespace

void HeadlessWebCookieJar::engineAdd(const Cookie& cookie) {
  std::erase_if(cookies_, [&](const Cookie& c) { return sameSlot(c, cookie); });
  cookies_.push_back(cookie);
}

void HeadlessWebCookieJar::engineDelete(const Cookie& cookie) {
  std::erase_if(cookies_, [&](const Cookie& c) { return sameSlot(c, cookie); });
}

}  // namespace ui
