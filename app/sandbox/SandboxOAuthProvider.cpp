#include "app/sandbox/SandboxOAuthProvider.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "app/sandbox/FormFields.h"
#include "platform/base/Strings.h"
#include "platform/crypto/Base64.h"
#include "platform/crypto/HmacSha1.h"
#include "platform/net/Url.h"
#include "sharing/config/SHKServiceConfig.h"

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string header(const SandboxRequest& request, const std::string& name) {
  for (const auto& [key, value] : request.headers) {
    if (lower(key) == lower(name)) return value;
  }
  return {};
}

void addForm(const std::string& text, std::vector<std::pair<std::string, std::string>>& out) {
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    size_t end = text.find('&', start);
    if (end == std::string::npos) end = text.size();
    std::string piece = text.substr(start, end - start);
    if (!piece.empty()) {
      size_t eq = piece.find('=');
      if (eq == std::string::npos) {
        out.emplace_back(formDecode(piece), "");
      } else {
        out.emplace_back(formDecode(piece.substr(0, eq)), formDecode(piece.substr(eq + 1)));
      }
    }
    start = end + 1;
  }
}

std::string form(const std::vector<std::pair<std::string, std::string>>& values) {
  std::string out;
  for (const auto& [name, value] : values) {
    if (!out.empty()) out += '&';
    out += net::escapeComponent(name) + "=" + net::escapeComponent(value);
  }
  return out;
}

std::string randomText(unsigned serial, const char* kind) {
  static std::mutex mutex;
  static std::mt19937_64 random{std::random_device{}()};
  std::lock_guard lock(mutex);
  return std::string(kind) + std::to_string(serial) + "x" + std::to_string(random() % 1000000007u);
}

void refuse(httplib::Response& response, int status, const std::string& problem) {
  response.status = status;
  response.set_content("oauth_problem=" + problem, "application/x-www-form-urlencoded");
}

}  // namespace

SandboxOAuthProvider::SandboxOAuthProvider(Options options) : options_(std::move(options)) {}

void SandboxOAuthProvider::install(ServiceSandbox& sandbox) {
  auto self = shared_from_this();
  auto route =
      [&](const char* method, const std::string& path,
          void (SandboxOAuthProvider::*member)(const SandboxRequest&, httplib::Response&)) {
        sandbox.handle(options_.service, options_.host, method, path,
                       [self, member](const SandboxRequest& r, httplib::Response& res) {
                         ((*self).*member)(r, res);
                       });
      };
  route("POST", options_.requestPath, &SandboxOAuthProvider::requestToken);
  route("GET", options_.authorizePath, &SandboxOAuthProvider::authorizePage);
  route("POST", options_.authorizePath, &SandboxOAuthProvider::allow);
  route("POST", options_.accessPath, &SandboxOAuthProvider::accessToken);
  route("POST", options_.authorizePath + "/expire", &SandboxOAuthProvider::expire);
  route("GET", options_.authorizePath + "/tokens", &SandboxOAuthProvider::listTokens);
}

std::optional<std::map<std::string, std::string>> SandboxOAuthProvider::parseAuthorization(
    const std::string& text) {
  if (text.size() < 6 || lower(text.substr(0, 6)) != "oauth ") return std::nullopt;
  std::map<std::string, std::string> out;
  size_t at = 6;
  while (at < text.size()) {
    while (at < text.size() && (text[at] == ' ' || text[at] == ',')) ++at;
    if (at >= text.size()) break;
    size_t eq = text.find('=', at);
    if (eq == std::string::npos || eq + 1 >= text.size() || text[eq + 1] != '"') {
      return std::nullopt;
    }
    size_t close = text.find('"', eq + 2);
    if (close == std::string::npos) return std::nullopt;
    // The server hands header values over already percent-decoded, so they are taken as they are.
    out[text.substr(at, eq - at)] = text.substr(eq + 2, close - eq - 2);
    at = close + 1;
  }
  return out;
}

bool SandboxOAuthProvider::checkSignature(const SandboxRequest& request,
                                          const std::string& consumerSecret,
                                          const std::string& tokenSecret, Signed& out) {
  auto oauth = parseAuthorization(header(request, "Authorization"));
  if (!oauth || !oauth->contains("oauth_signature")) return false;
  std::string signature = (*oauth)["oauth_signature"];
  std::string method = (*oauth)["oauth_signature_method"];
  oauth->erase("oauth_signature");
  oauth->erase("realm");

  std::vector<std::pair<std::string, std::string>> parameters;
  addForm(request.query, parameters);
  if (lower(header(request, "Content-Type")).starts_with("application/x-www-form-urlencoded")) {
    addForm(request.body, parameters);
  }
  out.oauth = *oauth;
  out.parameters = parameters;

  std::string key = net::escapeComponent(consumerSecret) + "&" + net::escapeComponent(tokenSecret);
  if (method == "PLAINTEXT") return signature == key;
  if (method != "HMAC-SHA1") return false;

  std::vector<std::pair<std::string, std::string>> all;
  for (const auto& [name, value] : parameters) {
    all.emplace_back(net::escapeComponent(name), net::escapeComponent(value));
  }
  for (const auto& [name, value] : *oauth) {
    all.emplace_back(net::escapeComponent(name), net::escapeComponent(value));
  }
  std::sort(all.begin(), all.end());
  std::string normalized;
  for (const auto& [name, value] : all) {
    if (!normalized.empty()) normalized += '&';
    normalized += name + "=" + value;
  }
  std::string hostHeader = lower(header(request, "Host"));
  if (hostHeader.ends_with(":80")) hostHeader.resize(hostHeader.size() - 3);
  std::string base = "http://" + hostHeader;
  if (!request.service.empty()) base += "/" + request.service + "/" + request.host;
  base += request.path;
  std::string text =
      request.method + "&" + net::escapeComponent(base) + "&" + net::escapeComponent(normalized);
  auto digest = crypto::HmacSha1::digest(key, text);
  std::string expected = crypto::Base64::encode(
      std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
  return signature == expected;
}

bool SandboxOAuthProvider::checkConsumer(const SandboxRequest& request,
                                         const std::string& tokenSecret, Signed& out,
                                         httplib::Response& response) {
  const auto& config = SHKServiceConfig::shared();
  std::string consumerKey = config.value(options_.service, "consumer_key");
  std::string consumerSecret = config.value(options_.service, "consumer_secret");
  if (!checkSignature(request, consumerSecret, tokenSecret, out)) {
    refuse(response, 401, "signature_invalid");
    return false;
  }
  if (out.oauth["oauth_consumer_key"] != consumerKey) {
    refuse(response, 401, "consumer_key_unknown");
    return false;
  }
  return true;
}

std::string SandboxOAuthProvider::issue(Token token) {
  std::string key = randomText(++serial_, token.access ? "access" : "request");
  token.secret = randomText(serial_, "secret");
  tokens_[key] = std::move(token);
  return key;
}

// The token key a signed call names, before its signature can be checked with that token.
static std::string namedToken(const SandboxRequest& request) {
  auto oauth = SandboxOAuthProvider::parseAuthorization(header(request, "Authorization"));
  if (!oauth) return {};
  auto found = oauth->find("oauth_token");
  return found == oauth->end() ? std::string() : found->second;
}

void SandboxOAuthProvider::requestToken(const SandboxRequest& request,
                                        httplib::Response& response) {
  Signed call;
  if (!checkConsumer(request, "", call, response)) return;
  std::lock_guard lock(mutex_);
  Token token;
  auto callback = call.oauth.find("oauth_callback");
  token.callback = callback != call.oauth.end() && callback->second != "oob"
                       ? callback->second
                       : SHKServiceConfig::shared().value(options_.service, "callback");
  std::string key = issue(token);
  response.set_content(form({{"oauth_token", key},
                             {"oauth_token_secret", tokens_[key].secret},
                             {"oauth_callback_confirmed", "true"}}),
                       "application/x-www-form-urlencoded");
}

void SandboxOAuthProvider::authorizePage(const SandboxRequest& request,
                                         httplib::Response& response) {
  std::vector<std::pair<std::string, std::string>> query;
  addForm(request.query, query);
  std::string key;
  for (const auto& [name, value] : query) {
    if (name == "oauth_token") key = value;
  }
  std::lock_guard lock(mutex_);
  auto found = tokens_.find(key);
  if (found == tokens_.end() || found->second.access) {
    response.status = 400;
    response.set_content("<html><body><p>Unknown request token.</p></body></html>",
                         "text/html; charset=utf-8");
    return;
  }
  std::string action = "/" + options_.service + "/" + options_.host + options_.authorizePath;
  response.set_content(
      "<html><head><title>Authorise " + base::escapeHtml(options_.service) +
          "</title></head><body><p>Let Vemo use your account?</p>"
          "<form method=\"post\" action=\"" +
          base::escapeHtml(action) + "\"><input type=\"hidden\" name=\"oauth_token\" value=\"" +
          base::escapeHtml(key) +
          "\"><input type=\"submit\" id=\"allow\" name=\"allow\" value=\"Allow\"></form>"
          "</body></html>",
      "text/html; charset=utf-8");
}

void SandboxOAuthProvider::allow(const SandboxRequest& request, httplib::Response& response) {
  std::vector<std::pair<std::string, std::string>> fields;
  addForm(request.body, fields);
  std::string key;
  for (const auto& [name, value] : fields) {
    if (name == "oauth_token") key = value;
  }
  std::lock_guard lock(mutex_);
  auto found = tokens_.find(key);
  if (found == tokens_.end() || found->second.access || found->second.used) {
    response.status = 400;
    response.set_content("Unknown request token.", "text/plain");
    return;
  }
  Token& token = found->second;
  token.authorized = true;
  token.verifier = randomText(++serial_, "verifier");
  std::string location = token.callback;
  location += location.find('?') == std::string::npos ? '?' : '&';
  location += form({{"oauth_token", key}, {"oauth_verifier", token.verifier}});
  response.status = 302;
  response.set_header("Location", location);
}

void SandboxOAuthProvider::accessToken(const SandboxRequest& request, httplib::Response& response) {
  std::string key = namedToken(request);
  if (key.empty() && options_.xAuth) return xAuthLogin(request, response);
  std::string secret;
  {
    std::lock_guard lock(mutex_);
    auto found = tokens_.find(key);
    if (found == tokens_.end()) return refuse(response, 401, "token_rejected");
    secret = found->second.secret;
  }
  Signed call;
  if (!checkConsumer(request, secret, call, response)) return;
  std::lock_guard lock(mutex_);
  auto found = tokens_.find(key);
  if (found == tokens_.end()) return refuse(response, 401, "token_rejected");
  Token old = found->second;
  if (old.used) return refuse(response, 401, "token_used");
  if (old.access) {
    // A refresh: the old access token (expired or not) with its session handle.
    if (!options_.sessionHandles || old.sessionHandle.empty() ||
        call.oauth["oauth_session_handle"] != old.sessionHandle) {
      return refuse(response, 401, "parameter_absent");
    }
  } else {
    if (!old.authorized) return refuse(response, 401, "permission_unknown");
    if (options_.requireVerifier && call.oauth["oauth_verifier"] != old.verifier) {
      return refuse(response, 401, "verifier_invalid");
    }
  }
  // Spent tokens stay known (their secrets check recorded calls later) but are refused.
  found->second.used = true;
  found->second.expired = true;
  Token access;
  access.access = true;
  if (options_.sessionHandles) {
    access.sessionHandle = old.access ? old.sessionHandle : randomText(++serial_, "handle");
  }
  std::string newKey = issue(access);
  std::vector<std::pair<std::string, std::string>> answer = {
      {"oauth_token", newKey}, {"oauth_token_secret", tokens_[newKey].secret}};
  if (options_.sessionHandles) {
    answer.emplace_back("oauth_expires_in", "3600");
    answer.emplace_back("oauth_session_handle", access.sessionHandle);
  }
  response.set_content(form(answer), "application/x-www-form-urlencoded");
}

void SandboxOAuthProvider::xAuthLogin(const SandboxRequest& request, httplib::Response& response) {
  Signed call;
  if (!checkConsumer(request, "", call, response)) return;
  std::map<std::string, std::string> fields(call.parameters.begin(), call.parameters.end());
  if (fields["x_auth_mode"] != "client_auth" || fields["x_auth_username"].empty()) {
    return refuse(response, 400, "parameter_absent");
  }
  if (!ServiceSandbox::acceptsLogin(fields["x_auth_password"])) {
    response.status = 401;
    response.set_content("Invalid user name or password", "text/plain");
    return;
  }
  std::lock_guard lock(mutex_);
  Token access;
  access.access = true;
  std::string key = issue(access);
  response.set_content(form({{"oauth_token", key}, {"oauth_token_secret", tokens_[key].secret}}),
                       "application/x-www-form-urlencoded");
}

void SandboxOAuthProvider::expire(const SandboxRequest&, httplib::Response& response) {
  std::lock_guard lock(mutex_);
  for (auto& [key, token] : tokens_) {
    if (token.access) token.expired = true;
  }
  response.status = 204;
}

bool SandboxOAuthProvider::verify(const SandboxRequest& request, httplib::Response& response,
                                  Signed* out) {
  std::string key = namedToken(request);
  std::string secret;
  bool expired = false;
  {
    std::lock_guard lock(mutex_);
    auto found = tokens_.find(key);
    if (found == tokens_.end() || !found->second.access || found->second.used) {
      refuse(response, 401, "token_rejected");
      return false;
    }
    secret = found->second.secret;
    expired = found->second.expired;
  }
  Signed call;
  if (!checkConsumer(request, secret, call, response)) return false;
  if (expired) {
    refuse(response, 401, "token_expired");
    return false;
  }
  if (out) *out = std::move(call);
  return true;
}

void SandboxOAuthProvider::listTokens(const SandboxRequest&, httplib::Response& response) {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<std::string, std::string>> all;
  for (const auto& [key, token] : tokens_) all.emplace_back(key, token.secret);
  response.set_content(form(all), "application/x-www-form-urlencoded");
}
