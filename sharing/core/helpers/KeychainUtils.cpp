#include "sharing/core/helpers/KeychainUtils.h"

#include <glib.h>

#include "platform/store/Keychain.h"

using namespace store::keychain_status;

namespace {

void setError(KeychainUtilsError* error, long code) {
  if (error) *error = {KeychainUtils::kErrorDomain, code};
}

}  // namespace

std::optional<std::string> KeychainUtils::getPasswordForUsername(
    const std::optional<std::string>& username, const std::optional<std::string>& serviceName,
    KeychainUtilsError* error) {
  if (!username || !serviceName) {
    setError(error, kMissingArgument);
    return std::nullopt;
  }
  if (error) *error = {};
  store::Keychain& keychain = store::Keychain::shared();
  // The item's presence first, then what it holds: an item without data is its own error.
  int status = keychain.find(*serviceName, *username, nullptr);
  if (status == kItemNotFound) return std::nullopt;
  if (status != kSuccess) {
    setError(error, status);
    return std::nullopt;
  }
  std::optional<store::SecretBytes> secret;
  status = keychain.find(*serviceName, *username, &secret);
  if (status == kItemNotFound || (status == kSuccess && !secret)) {
    setError(error, kNoPasswordData);
    return std::nullopt;
  }
  if (status != kSuccess) {
    setError(error, status);
    return std::nullopt;
  }
  if (!g_utf8_validate_len(reinterpret_cast<const char*>(secret->data()), secret->size(),
                           nullptr)) {
    setError(error, kNotText);
    return std::nullopt;
  }
  return std::string(secret->begin(), secret->end());
}

bool KeychainUtils::storeUsername(const std::optional<std::string>& username,
                                  const std::optional<std::string>& password,
                                  const std::optional<std::string>& serviceName,
                                  bool updateExisting, KeychainUtilsError* error) {
  if (!username || !password || !serviceName) {
    setError(error, kMissingArgument);
    return false;
  }
  KeychainUtilsError collected;
  std::optional<std::string> existing = getPasswordForUsername(username, serviceName, &collected);
  if (collected.code == kNoPasswordData) {
    collected = {};
    deleteItemForUsername(username, serviceName, &collected);
  }
  if (collected) {
    if (error) *error = collected;
    return false;
  }
  if (error) *error = {};

  store::Keychain& keychain = store::Keychain::shared();
  store::SecretItem item{*serviceName, *username, *serviceName,
                         store::SecretBytes(password->begin(), password->end())};
  int status;
  if (existing) {
    if (*existing == *password || !updateExisting) return true;
    status = keychain.update(item);
  } else {
    status = keychain.add(item);
  }
  if (status != kSuccess) {
    setError(error, status);
    return false;
  }
  return true;
}

bool KeychainUtils::deleteItemForUsername(const std::optional<std::string>& username,
                                          const std::optional<std::string>& serviceName,
                                          KeychainUtilsError* error) {
  if (!username || !serviceName) {
    setError(error, kMissingArgument);
    return false;
  }
  if (error) *error = {};
  int status = store::Keychain::shared().remove(*serviceName, *username);
  if (status != kSuccess) {
    setError(error, status);
    return false;
  }
  return true;
}
