#include "app/gui/WebKitCookieJar.h"

#include <chrono>
#include <memory>

#include "app/gui/NestedWait.h"

namespace {

// One asynchronous call to the cookie manager and its answer.
struct Call {
  bool done = false;
  GList* cookies = nullptr;  // of get_all_cookies
};

void waitFor(const std::shared_ptr<Call>& call) {
  NestedWait nested;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!call->done && std::chrono::steady_clock::now() < deadline) {
    g_main_context_iteration(nullptr, TRUE);
  }
}

// The answer may come after the wait gave up: the call is kept alive until then.
gpointer keep(const std::shared_ptr<Call>& call) {
  return new std::shared_ptr<Call>(call);
}

std::shared_ptr<Call> take(gpointer data) {
  std::unique_ptr<std::shared_ptr<Call>> held(static_cast<std::shared_ptr<Call>*>(data));
  return *held;
}

SoupCookie* toSoup(const ui::WebCookieJar::Cookie& cookie) {
  // A domain with a leading dot is a domain cookie in libsoup, one without it host-only.
  const std::string domain = (cookie.includeSubdomains ? "." : "") + cookie.domain;
  return soup_cookie_new(cookie.name.c_str(), cookie.value.c_str(), domain.c_str(),
                         cookie.path.c_str(), -1);
}

}  // namespace

WebKitCookieJar::WebKitCookieJar()
    : manager_(webkit_network_session_get_cookie_manager(webkit_network_session_get_default())) {}

void WebKitCookieJar::engineAdd(const Cookie& cookie) {
  SoupCookie* soup = toSoup(cookie);
  auto call = std::make_shared<Call>();
  webkit_cookie_manager_add_cookie(
      manager_, soup, nullptr,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        auto call = take(data);
        webkit_cookie_manager_add_cookie_finish(WEBKIT_COOKIE_MANAGER(source), result, nullptr);
        call->done = true;
      },
      keep(call));
  soup_cookie_free(soup);
  waitFor(call);
}

void WebKitCookieJar::engineDelete(const Cookie& cookie) {
  SoupCookie* soup = toSoup(cookie);
  auto call = std::make_shared<Call>();
  webkit_cookie_manager_delete_cookie(
      manager_, soup, nullptr,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        auto call = take(data);
        webkit_cookie_manager_delete_cookie_finish(WEBKIT_COOKIE_MANAGER(source), result, nullptr);
        call->done = true;
      },
      keep(call));
  soup_cookie_free(soup);
  waitFor(call);
}

std::vector<WebKitCookieJar::Cookie> WebKitCookieJar::cookies() {
  auto call = std::make_shared<Call>();
  webkit_cookie_manager_get_all_cookies(
      manager_, nullptr,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        auto call = take(data);
        call->cookies = webkit_cookie_manager_get_all_cookies_finish(WEBKIT_COOKIE_MANAGER(source),
                                                                     result, nullptr);
        call->done = true;
      },
      keep(call));
  waitFor(call);
  std::vector<Cookie> out;
  for (GList* item = call->cookies; item; item = item->next) {
    auto* soup = static_cast<SoupCookie*>(item->data);
    Cookie cookie;
    const char* domain = soup_cookie_get_domain(soup);
    cookie.includeSubdomains = domain && domain[0] == '.';
    cookie.domain = domain ? domain + (cookie.includeSubdomains ? 1 : 0) : "";
    cookie.path = soup_cookie_get_path(soup) ? soup_cookie_get_path(soup) : "/";
    cookie.name = soup_cookie_get_name(soup) ? soup_cookie_get_name(soup) : "";
    cookie.value = soup_cookie_get_value(soup) ? soup_cookie_get_value(soup) : "";
    cookie.secure = soup_cookie_get_secure(soup);
    cookie.httpOnly = soup_cookie_get_http_only(soup);
    if (GDateTime* expires = soup_cookie_get_expires(soup)) {
      cookie.expires = g_date_time_to_unix(expires);
    }
    out.push_back(std::move(cookie));
  }
  g_list_free_full(call->cookies, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
  call->cookies = nullptr;
  return out;
}
