#include "platform/net/CookieStore.h"

#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/base/AtomicFile.h"
#include "platform/base/Log.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/net/Initialize.h"

namespace net {
namespace {

constexpr std::string_view kHttpOnlyPrefix = "#HttpOnly_";
constexpr std::string_view kFileHeader = "# Netscape HTTP Cookie File\n";

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;

bool hasControlOrTab(std::string_view s) {
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// One line of libcurl's Netscape cookie format:
// domain, subdomains flag, path, secure flag, expiry, name, value, separated by tabs.
std::string toLine(const CookieStore::Cookie& c) {
  std::string line;
  if (c.httpOnly) line += kHttpOnlyPrefix;
  if (c.includeSubdomains) line += '.';
  // libcurl lists a cookie without a path under "/", so it is stored under "/" too.
  const std::string& path = c.path.empty() ? std::string("/") : c.path;
  line += c.domain + '\t' + (c.includeSubdomains ? "TRUE" : "FALSE") + '\t' + path + '\t' +
          (c.secure ? "TRUE" : "FALSE") + '\t' + std::to_string(c.expires) + '\t' + c.name + '\t' +
          c.value;
  return line;
}

bool fromLine(std::string_view line, CookieStore::Cookie& c) {
  c = CookieStore::Cookie();
  if (line.starts_with(kHttpOnlyPrefix)) {
    c.httpOnly = true;
    line.remove_prefix(kHttpOnlyPrefix.size());
  }
  std::vector<std::string> fields = base::split(line, "\t");
  if (fields.size() < 6) return false;
  c.domain = fields[0];
  while (!c.domain.empty() && c.domain.front() == '.') c.domain.erase(0, 1);
  c.includeSubdomains = fields[1] == "TRUE";
  c.path = fields[2];
  c.secure = fields[3] == "TRUE";
  c.expires = std::strtoll(fields[4].c_str(), nullptr, 10);
  c.name = fields[5];
  c.value = fields.size() > 6 ? fields[6] : std::string();
  return !c.domain.empty();
}

bool domainMatches(std::string_view host, std::string_view domain, bool includeSubdomains) {
  std::string h = base::toLowerAscii(host), d = base::toLowerAscii(domain);
  if (h == d) return true;
  return includeSubdomains && h.size() > d.size() && base::endsWith(h, d) &&
         h[h.size() - d.size() - 1] == '.';
}

bool pathMatches(std::string_view requestPath, std::string_view cookiePath) {
  if (requestPath.empty()) requestPath = "/";
  if (!requestPath.starts_with(cookiePath)) return false;
  return requestPath.size() == cookiePath.size() || cookiePath.ends_with('/') ||
         requestPath[cookiePath.size()] == '/';
}

std::string serialize(const std::vector<CookieStore::Cookie>& cookies) {
  std::string out(kFileHeader);
  for (const auto& c : cookies) {
    if (c.expires != 0) out += toLine(c) + '\n';
  }
  return out;
}

}  // namespace

CookieStore& CookieStore::shared() {
  // Never destroyed: transfers still finishing while the program exits may use it.
  static CookieStore* store = new CookieStore(base::paths::appDataDir() / "cookies.txt");
  return *store;
}

CookieStore::CookieStore(std::filesystem::path file) : file_(std::move(file)) {
  initialize();
  share_ = curl_share_init();
  curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CookieStore::lock);
  curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CookieStore::unlock);
  curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);

  std::ifstream in(file_);
  std::string line;
  std::lock_guard guard(operations_);
  while (std::getline(in, line)) {
    Cookie cookie;
    if (fromLine(line, cookie)) addLocked(cookie);
  }
  lastSaved_ = serialize(listLocked());
}

CookieStore::~CookieStore() {
  curl_share_cleanup(share_);
}

void CookieStore::lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
  static_cast<CookieStore*>(self)->dataLocks_[data].lock();
}

void CookieStore::unlock(CURL*, curl_lock_data data, void* self) {
  static_cast<CookieStore*>(self)->dataLocks_[data].unlock();
}

void CookieStore::attach(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_SHARE, share_);
  // Switches the cookie engine on for this transfer without reading any file.
  curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
}

std::vector<CookieStore::Cookie> CookieStore::listLocked() const {
  std::vector<Cookie> result;
  Easy easy(curl_easy_init());
  if (!easy) return result;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, share_);
  curl_slist* list = nullptr;
  if (curl_easy_getinfo(easy.get(), CURLINFO_COOKIELIST, &list) != CURLE_OK) return result;
  // libcurl drops expired cookies only when another one is added, so some may still be held.
  const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
  for (curl_slist* item = list; item; item = item->next) {
    Cookie cookie;
    if (fromLine(item->data, cookie) && (cookie.expires == 0 || cookie.expires >= now))
      result.push_back(std::move(cookie));
  }
  curl_slist_free_all(list);
  return result;
}

void CookieStore::addLocked(const Cookie& cookie) {
  // A tab or line break would split the stored line into other fields or cookies.
  for (std::string_view field : {std::string_view(cookie.domain), std::string_view(cookie.path),
                                 std::string_view(cookie.name), std::string_view(cookie.value)}) {
    if (hasControlOrTab(field)) return;
  }
  if (cookie.domain.empty() || cookie.name.empty()) return;
  Easy easy(curl_easy_init());
  if (!easy) return;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, share_);
  curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, toLine(cookie).c_str());
}

void CookieStore::keepOnlyLocked(const std::vector<Cookie>& keep) {
  Easy easy(curl_easy_init());
  if (!easy) return;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, share_);
  curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "ALL");
  for (const Cookie& cookie : keep) addLocked(cookie);
}

bool CookieStore::persistLocked() {
  std::string text = serialize(listLocked());
  if (text == lastSaved_) return true;
  std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  std::string error;
  if (!base::writeFileAtomically(file_, bytes, &error)) {
    base::log("COOKIES NOT SAVED: " + error);
    return false;
  }
  lastSaved_ = std::move(text);
  return true;
}

bool CookieStore::persist() {
  std::lock_guard guard(operations_);
  return persistLocked();
}

void CookieStore::setCookie(const Cookie& cookie) {
  std::lock_guard guard(operations_);
  addLocked(cookie);
  persistLocked();
}

std::vector<CookieStore::Cookie> CookieStore::cookies() const {
  std::lock_guard guard(operations_);
  return listLocked();
}

std::vector<CookieStore::Cookie> CookieStore::cookiesForUrl(const Url& url) const {
  std::vector<Cookie> result;
  bool https = base::toLowerAscii(url.scheme()) == "https";
  for (Cookie& c : cookies()) {
    if (!domainMatches(url.host(), c.domain, c.includeSubdomains)) continue;
    if (!pathMatches(url.path(), c.path)) continue;
    if (c.secure && !https) continue;
    result.push_back(std::move(c));
  }
  return result;
}

void CookieStore::deleteCookiesForDomain(std::string_view domain) {
  while (domain.starts_with('.')) domain.remove_prefix(1);
  std::lock_guard guard(operations_);
  std::vector<Cookie> keep;
  for (Cookie& c : listLocked()) {
    if (!domainMatches(c.domain, domain, true)) keep.push_back(std::move(c));
  }
  keepOnlyLocked(keep);
  persistLocked();
}

void CookieStore::deleteCookiesForUrl(const Url& url) {
  std::vector<Cookie> doomed = cookiesForUrl(url);
  std::lock_guard guard(operations_);
  std::vector<Cookie> keep;
  for (Cookie& c : listLocked()) {
    bool matches = false;
    for (const Cookie& d : doomed)
      matches = matches || (c.domain == d.domain && c.path == d.path && c.name == d.name);
    if (!matches) keep.push_back(std::move(c));
  }
  keepOnlyLocked(keep);
  persistLocked();
}

void CookieStore::removeAll() {
  std::lock_guard guard(operations_);
  keepOnlyLocked({});
  persistLocked();
}

}  // namespace net
