#include "sharing/core/helpers/oauth/OAToken.h"

#include "platform/base/Strings.h"
#include "platform/store/UserDefaults.h"
#include "sharing/core/helpers/oauth/OAURLEncoding.h"

namespace {

std::string defaultsKey(std::string_view prefix, std::string_view provider,
                        std::string_view field) {
  return "OAUTH_" + std::string(prefix) + "_" + std::string(provider) + "_" + std::string(field);
}

}  // namespace

OAToken::OAToken() : key_(""), secret_(""), sessionHandle_("") {}

OAToken::OAToken(std::string key, std::string secret)
    : key_(std::move(key)), secret_(std::move(secret)) {}

OAToken OAToken::fromHTTPResponseBody(std::string_view body) {
  OAToken token{Absent{}};
  for (const std::string& piece : base::split(body, "&")) {
    size_t equals = piece.find('=');
    if (equals == std::string::npos) continue;
    std::string_view name = std::string_view(piece).substr(0, equals);
    std::string value = URLDecodedString(std::string_view(piece).substr(equals + 1));
    if (name == "oauth_token") {
      token.key_ = std::move(value);
    } else if (name == "oauth_token_secret") {
      token.secret_ = std::move(value);
    } else if (name == "oauth_session_handle") {
      token.sessionHandle_ = std::move(value);
    }
  }
  return token;
}

std::optional<OAToken> OAToken::fromUserDefaults(std::string_view serviceProviderName,
                                                 std::string_view prefix) {
  store::UserDefaults& defaults = store::UserDefaults::standard();
  auto key = defaults.stringForKey(defaultsKey(prefix, serviceProviderName, "KEY"));
  auto secret = defaults.stringForKey(defaultsKey(prefix, serviceProviderName, "SECRET"));
  if (!key || !secret) return std::nullopt;
  return OAToken(std::move(*key), std::move(*secret));
}

int OAToken::storeInUserDefaults(std::string_view serviceProviderName,
                                 std::string_view prefix) const {
  store::UserDefaults& defaults = store::UserDefaults::standard();
  auto write = [&](const std::optional<std::string>& value, std::string_view field) {
    std::string name = defaultsKey(prefix, serviceProviderName, field);
    if (value) {
      defaults.setString(*value, name);
    } else {
      defaults.removeObjectForKey(name);
    }
  };
  write(key_, "KEY");
  write(secret_, "SECRET");
  defaults.synchronize();
  return 0;
}
