#include "sharing/config/SHKServiceConfig.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/base/Paths.h"
#include "platform/net/Url.h"
#include "sharing/config/ConfigFile.h"

namespace {

using Kind = SHKServiceConfig::Kind;

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

const SHKServiceConfig::Service* findService(std::string_view name) {
  for (const auto& service : SHKServiceConfig::services()) {
    if (name == service.name) return &service;
  }
  return nullptr;
}

const SHKServiceConfig::Key* findKey(const SHKServiceConfig::Service& service,
                                     std::string_view name) {
  for (const auto& key : service.keys) {
    if (name == key.name) return &key;
  }
  return nullptr;
}

// Checks an address value; returns it without trailing "/" or sets `problem`.
std::string checkAddress(const std::string& value, Kind kind, std::string& problem) {
  std::optional<net::Url> url = net::Url::parse(value);
  const std::string scheme = url ? lower(url->scheme()) : "";
  if (!url || (scheme != "http" && scheme != "https") || url->host().empty()) {
    problem = "needs an address with http:// or https://, such as https://example.com";
    return {};
  }
  if (url->query() || url->fragment()) {
    problem = "takes no query or fragment, only a scheme, host, port and base path";
    return {};
  }
  std::string_view authority = std::string_view(value).substr(scheme.size() + 3);
  authority = authority.substr(0, authority.find('/'));
  if (authority.find('@') != std::string_view::npos) {
    problem = "must not hold a user name or password";
    return {};
  }
  if (kind == Kind::Host && scheme == "http" && !SHKServiceConfig::isLoopback(url->host())) {
    problem =
        "uses plain http, which is only allowed for loopback hosts (127.0.0.1, ::1, "
        "localhost): use https";
    return {};
  }
  std::string address = value;
  while (address.ends_with('/')) address.pop_back();
  return address;
}

bool isHostName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '.' || c == ':' || c == '[' || c == ']';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

const std::vector<SHKServiceConfig::Service>& SHKServiceConfig::services() {
  static const std::vector<Service> table = {
      {"SHKDelicious",
       {{"oauth", Kind::Host, "https://api.login.yahoo.com"},
        {"api", Kind::Host, "https://api.del.icio.us"},
        {"callback", Kind::Callback, "http://vemo.invalid/oauthcallback"},
        {"consumer_key", Kind::Text, ""},
        {"consumer_secret", Kind::Text, ""}}},
      {"SHKFacebook",
       {{"api", Kind::Host, "https://api.facebook.com"},
        {"video", Kind::Host, "https://api-video.facebook.com"},
        {"web", Kind::Host, "https://www.facebook.com"},
        {"api_key", Kind::Text, ""},
        {"api_secret", Kind::Text, ""}}},
      {"SHKGoogleReader",
       {{"accounts", Kind::Host, "https://www.google.com"},
        {"reader", Kind::Host, "https://www.google.com"},
        {"web", Kind::Host, "https://www.google.com/reader"}}},
      {"SHKInstapaper",
       {{"api", Kind::Host, "https://www.instapaper.com"},
        {"web", Kind::Host, "https://www.instapaper.com"}}},
      {"SHKPinboard",
       {{"api", Kind::Host, "https://api.pinboard.in"},
        {"web", Kind::Host, "https://pinboard.in"}}},
      {"SHKReadItLater",
       {{"api", Kind::Host, "https://readitlaterlist.com"},
        {"web", Kind::Host, "https://readitlaterlist.com"},
        {"apikey", Kind::Text, ""}}},
      {"SHKTumblr",
       {{"api", Kind::Host, "https://www.tumblr.com"},
        {"web", Kind::Host, "https://www.tumblr.com"}}},
      {"SHKTwitter",
       {{"api", Kind::Host, "https://api.twitter.com"},
        {"web", Kind::Host, "https://twitter.com"},
        {"shortener", Kind::Host, "https://api-ssl.bitly.com"},
        {"pictures", Kind::Host, "https://api.twitpic.com"},
        {"callback", Kind::Callback, "http://vemo.invalid/"},
        {"consumer_key", Kind::Text, ""},
        {"consumer_secret", Kind::Text, ""},
        {"shortener_login", Kind::Text, ""},
        {"shortener_apikey", Kind::Text, ""}}},
  };
  return table;
}

int SHKServiceConfig::Mail::effectivePort() const {
  if (port) return port;
  switch (security) {
    case Security::Tls:
      return 465;
    case Security::StartTls:
      return 587;
    case Security::None:
      return 25;
  }
  return 25;
}

SHKServiceConfig& SHKServiceConfig::shared() {
  static SHKServiceConfig config;
  return config;
}

std::filesystem::path SHKServiceConfig::defaultPath() {
  return base::paths::appConfigDir() / "vemo.conf";
}

bool SHKServiceConfig::isLoopback(std::string_view host) {
  std::string name = lower(host);
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
    name = name.substr(1, name.size() - 2);
  }
  if (name == "localhost" || name.ends_with(".localhost")) return true;
  in_addr v4{};
  if (inet_pton(AF_INET, name.c_str(), &v4) == 1) {
    return (ntohl(v4.s_addr) >> 24) == 127;
  }
  in6_addr v6{};
  if (inet_pton(AF_INET6, name.c_str(), &v6) == 1) {
    if (IN6_IS_ADDR_LOOPBACK(&v6)) return true;
    // ::ffff:127.x.x.x
    return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
  }
  return false;
}

std::string SHKServiceConfig::hostAddress(std::string_view value, std::string& problem) {
  return checkAddress(std::string(value), Kind::Host, problem);
}

SHKServiceConfig::SHKServiceConfig() {
  for (const auto& service : services()) {
    for (const auto& key : service.keys) values_[service.name][key.name] = key.value;
  }
}

bool SHKServiceConfig::load(const std::filesystem::path& path, bool mustExist,
                            std::vector<std::string>& errors, std::vector<std::string>& warnings) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (!mustExist && !std::filesystem::exists(path)) return true;
    errors.push_back(path.string() + ": cannot be read");
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return read(text.str(), path.string(), errors, warnings);
}

bool SHKServiceConfig::read(std::string_view text, const std::string& name,
                            std::vector<std::string>& errors, std::vector<std::string>& warnings) {
  const size_t errorsBefore = errors.size();
  auto at = [&name](int line) { return name + ":" + std::to_string(line) + ": "; };
  std::vector<ConfigFile::Problem> problems;
  std::vector<ConfigFile::Entry> entries = ConfigFile::parse(text, problems);
  for (const auto& problem : problems) errors.push_back(at(problem.line) + problem.message);

  Values values = values_;
  std::string site = site_;
  Mail mail = mail_;
  int noneLine = 0, serverLine = 0;  // where this file sets them
  std::string lastUnknownSection;
  for (const auto& entry : entries) {
    const std::string where = at(entry.line);
    const std::string quoted = "\"" + entry.key + "\"";
    std::string problem;
    if (entry.section.empty()) {
      if (entry.key != "site") {
        warnings.push_back(where + "unknown key " + quoted + " (ignored)");
        continue;
      }
      std::string address = checkAddress(entry.value, Kind::Callback, problem);
      if (problem.empty()) site = address;
    } else if (entry.section == "mail") {
      if (entry.key == "server") {
        if (isHostName(entry.value)) {
          mail.server = entry.value;
          serverLine = entry.line;
        } else {
          problem = "needs a host name, such as smtp.example.com (no scheme or path)";
        }
      } else if (entry.key == "port") {
        int port = 0;
        const char* end = entry.value.data() + entry.value.size();
        auto [stop, ec] = std::from_chars(entry.value.data(), end, port);
        if (ec != std::errc() || stop != end || port < 1 || port > 65535) {
          problem = "needs a port number from 1 to 65535";
        } else {
          mail.port = port;
        }
      } else if (entry.key == "security") {
        if (entry.value == "tls") {
          mail.security = Security::Tls;
        } else if (entry.value == "starttls") {
          mail.security = Security::StartTls;
        } else if (entry.value == "none") {
          mail.security = Security::None;
          noneLine = entry.line;
        } else {
          problem = "is tls, starttls or none";
        }
      } else if (entry.key == "sender") {
        mail.sender = entry.value;
      } else if (entry.key == "user") {
        mail.user = entry.value;
      } else if (entry.key == "password") {
        problem = "does not belong in this file: the password is kept in the keychain";
      } else {
        warnings.push_back(where + "unknown key " + quoted + " in [mail] (ignored)");
        continue;
      }
    } else if (const Service* service = findService(entry.section)) {
      const Key* key = findKey(*service, entry.key);
      if (!key) {
        warnings.push_back(where + "unknown key " + quoted + " in [" + entry.section +
                           "] (ignored)");
        continue;
      }
      std::string value = entry.value;
      if (key->kind != Kind::Text) value = checkAddress(entry.value, key->kind, problem);
      if (problem.empty()) values[entry.section][entry.key] = value;
    } else {
      // One warning per unknown section, at its first key.
      if (entry.section != lastUnknownSection) {
        warnings.push_back(where + "unknown section [" + entry.section + "] (ignored)");
      }
      lastUnknownSection = entry.section;
      continue;
    }
    if (!problem.empty()) {
      errors.push_back(where + quoted +
                       (entry.section.empty() ? "" : " in [" + entry.section + "]") + " " +
                       problem);
    }
  }
  if ((noneLine || serverLine) && mail.security == Security::None && !mail.server.empty() &&
      !isLoopback(mail.server)) {
    errors.push_back(at(std::max(noneLine, serverLine)) +
                     "\"security = none\" sends the password in clear: it is only allowed for a "
                     "loopback mail server");
  }
  if (errors.size() != errorsBefore) return false;
  values_ = std::move(values);
  site_ = std::move(site);
  mail_ = std::move(mail);
  return true;
}

std::string SHKServiceConfig::value(std::string_view service, std::string_view key) const {
  auto section = values_.find(service);
  if (section == values_.end()) return {};
  auto found = section->second.find(key);
  return found == section->second.end() ? std::string() : found->second;
}

void SHKServiceConfig::pointServicesAt(std::string_view base) {
  std::string root(base);
  while (root.ends_with('/')) root.pop_back();
  for (const auto& service : services()) {
    for (const auto& key : service.keys) {
      if (key.kind == Kind::Host) {
        values_[service.name][key.name] = root + "/" + service.name + "/" + key.name;
      }
    }
  }
}
