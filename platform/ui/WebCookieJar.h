#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/CookieStore.h"

namespace ui {

// The cookies of the web views, kept in step with the program's own net::CookieStore so that the
// pages and the program's requests carry the same ones. Each engine kind has its jar: the
// headless one by default, WebKit's cookie manager in the window. Use on the main thread.
class WebCookieJar {
 public:
  using Cookie = net::CookieStore::Cookie;

  // The jar of the engines WebEngine::create() makes.
  static WebCookieJar& shared();
  // Installed by the shell with its engine factory (not owned); null restores the headless jar.
  static void setShared(WebCookieJar* jar);

  virtual ~WebCookieJar() = default;

  // Adds a session cookie `name`=`value` for `domain` and `path` to both jars. A domain with a
  // leading "." covers the hosts under it too; a domain that is an IP address is host-only. False
  // (nothing added) for an empty name or domain, or text a cookie cannot hold: control
  // characters and ";" anywhere, blanks, "," or "=" in the name.
  bool addCookie(const std::string& name, const std::string& value, std::string_view domain,
                 const std::string& path = "/");
  // The cookies of the engine's own jar.
  virtual std::vector<Cookie> cookies() = 0;
  // Deletes the cookies of `domain` (a leading "." is ignored) and of the hosts under it, in
  // both jars.
  void deleteCookiesForDomain(std::string_view domain);

 protected:
  virtual void engineAdd(const Cookie& cookie) = 0;
  virtual void engineDelete(const Cookie& cookie) = 0;
};

}  // namespace ui
