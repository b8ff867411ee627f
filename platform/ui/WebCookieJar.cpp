#include "platform/ui/WebCookieJar.h"

#include <arpa/inet.h>

#include "platform/ui/HeadlessWebCookieJar.h"

namespace ui {

namespace {

WebCookieJar*& installed() {
  static WebCookieJar* jar = nullptr;
  return jar;
}

bool isIpAddress(std::string_view host) {
  std::string text(host);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    text = text.substr(1, text.size() - 2);
  }
  in6_addr address{};
  return inet_pton(AF_INET, text.c_str(), &address) == 1 ||
         inet_pton(AF_INET6, text.c_str(), &address) == 1;
}

bool holdable(std::string_view text, std::string_view alsoRefused) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f || c == ';' ||
        alsoRefused.find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

WebCookieJar& WebCookieJar::shared() {
  static HeadlessWebCookieJar headless;
  return installed() ? *installed() : headless;
}

void WebCookieJar::setShared(WebCookieJar* jar) {
  installed() = jar;
}

bool WebCookieJar::addCookie(const std::string& name, const std::string& value,
                             std::string_view domain, const std::string& path) {
  Cookie cookie;
  cookie.includeSubdomains = domain.starts_with('.');
  while (domain.starts_with('.')) domain.remove_prefix(1);
  if (isIpAddress(domain)) cookie.includeSubdomains = false;
  cookie.domain = lower(domain);
  cookie.name = name;
  cookie.value = value;
  cookie.path = path.empty() ? "/" : path;
  if (cookie.name.empty() || cookie.domain.empty() || !holdable(cookie.name, " \t,=") ||
      !holdable(cookie.value, "") || !holdable(cookie.domain, " ,/") ||
      !holdable(cookie.path, " ")) {
    return false;
  }
  net::CookieStore::shared().setCookie(cookie);
  engineAdd(cookie);
  return true;
}

void WebCookieJar::deleteCookiesForDomain(std::string_view domain) {
  while (domain.starts_with('.')) domain.remove_prefix(1);
  net::CookieStore::shared().deleteCookiesForDomain(domain);
  const std::string host = lower(domain);
  for (const Cookie& cookie : cookies()) {
    // The cookies of the domain itself and of every host under it.
    const std::string& d = cookie.domain;
    if (d == host ||
        (d.size() > host.size() && d.ends_with(host) && d[d.size() - host.size() - 1] == '.')) {
      engineDelete(cookie);
    }
  }
}

}  // namespace ui
