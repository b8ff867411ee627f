#pragma once
#include <optional>
#include <string>
#include <string_view>

// An OAuth request or access token. A field the token never received is absent (std::nullopt),
// which is not the same as the empty string.
class OAToken {
 public:
  // The empty token used before any token exists: key, secret and session handle all "".
  OAToken();
  // Key and secret; no session handle.
  OAToken(std::string key, std::string secret);

  // Reads a token response body such as "oauth_token=a&oauth_token_secret=b". Fields the body
  // does not carry stay absent; a later duplicate overrides an earlier one; other names are
  // ignored.
  static OAToken fromHTTPResponseBody(std::string_view body);

  // Reads "OAUTH_<prefix>_<provider>_KEY" and "..._SECRET" from the standard user defaults;
  // nothing when either is missing.
  static std::optional<OAToken> fromUserDefaults(std::string_view serviceProviderName,
                                                 std::string_view prefix);
  // Writes the key and the secret under those names (an absent field removes its entry) and
  // synchronises the user defaults. Returns 0.
  int storeInUserDefaults(std::string_view serviceProviderName, std::string_view prefix) const;

  const std::optional<std::string>& key() const { return key_; }
  void setKey(std::optional<std::string> key) { key_ = std::move(key); }
  const std::optional<std::string>& secret() const { return secret_; }
  void setSecret(std::optional<std::string> secret) { secret_ = std::move(secret); }
  const std::optional<std::string>& sessionHandle() const { return sessionHandle_; }
  void setSessionHandle(std::optional<std::string> handle) { sessionHandle_ = std::move(handle); }

  // True when the key is present and not empty: only then does a request carry "oauth_token".
  bool hasKey() const { return key_ && !key_->empty(); }

 private:
  struct Absent {};
  explicit OAToken(Absent) {}

  std::optional<std::string> key_;
  std::optional<std::string> secret_;
  std::optional<std::string> sessionHandle_;
};
