#pragma once
#include <curl/curl.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/Url.h"

namespace net {

// The cookies of every request the program sends, synchronous and asynchronous alike, kept by
// libcurl's cookie engine in one share handle. Cookies with an expiry date are saved in a
// Netscape-format file, readable only by the user. Thread-safe.
class CookieStore {
 public:
  struct Cookie {
    std::string domain;              // without a leading "."
    bool includeSubdomains = false;  // sent to hosts under `domain` too
    std::string path = "/";
    bool secure = false;       // sent over https only
    std::int64_t expires = 0;  // seconds since 1970; 0 for a session cookie (not saved)
    std::string name;
    std::string value;
    bool httpOnly = false;

    bool operator==(const Cookie&) const = default;
  };

  // The program's store, saved in "$XDG_DATA_HOME/vemo/cookies.txt" and read from there when
  // first used.
  static CookieStore& shared();

  // A store saved in `file` (read now when it exists).
  explicit CookieStore(std::filesystem::path file);
  ~CookieStore();
  CookieStore(const CookieStore&) = delete;
  CookieStore& operator=(const CookieStore&) = delete;

  // Makes a libcurl transfer send the cookies that match it and keep the ones it receives here.
  // Call before the transfer starts, and persist() after one that received a cookie.
  void attach(CURL* easy);
  // Saves the cookies with an expiry date when they changed since the last save; false when the
  // file cannot be written.
  bool persist();

  // Adds a cookie, replacing one with the same domain, path and name.
  void setCookie(const Cookie& cookie);
  // The cookies held, expired ones left out.
  std::vector<Cookie> cookies() const;
  // The cookies a request to `url` would carry (domain, path, secure flag, not expired).
  std::vector<Cookie> cookiesForUrl(const Url& url) const;
  // Removes the cookies of `domain` and of the hosts under it.
  void deleteCookiesForDomain(std::string_view domain);
  void deleteCookiesForUrl(const Url& url);
  void removeAll();

  const std::filesystem::path& file() const { return file_; }

 private:
  static void lock(CURL*, curl_lock_data data, curl_lock_access, void* self);
  static void unlock(CURL*, curl_lock_data data, void* self);

  std::vector<Cookie> listLocked() const;
  void addLocked(const Cookie& cookie);
  void keepOnlyLocked(const std::vector<Cookie>& keep);
  bool persistLocked();

  std::filesystem::path file_;
  CURLSH* share_ = nullptr;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> dataLocks_;
  // Orders the store's own operations (listing, replacing, saving) among themselves.
  mutable std::mutex operations_;
  std::string lastSaved_;
};

}  // namespace net
