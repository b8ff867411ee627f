#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/store/FileSecretStore.h"
#include "platform/store/SecretStore.h"

namespace store {

// The program's credential store: the desktop's Secret Service when one answers, else the
// private file store. While the Secret Service is in use, entries the file store kept from
// sessions without one are still found: a lookup that misses in the Secret Service reads the
// file, and moves an entry found only there into the Secret Service.
class Keychain {
 public:
  // `primary` is where items are written; `legacy` (may be null) is only read from and
  // emptied into it.
  Keychain(std::unique_ptr<SecretStore> primary, std::unique_ptr<FileSecretStore> legacy);

  // The keychain of the current data folder: opened on first use (and again when
  // $XDG_DATA_HOME changes), which store is in use logged once per opening.
  static Keychain& shared();
  // Tests: makes shared() return `keychain` (nullptr restores the normal one).
  static void setSharedForTesting(Keychain* keychain);

  SecretStore& primary() { return *primary_; }

  int find(const std::string& service, const std::string& account,
           std::optional<SecretBytes>* secret);
  int add(const SecretItem& item);
  int update(const SecretItem& item);
  // Removes the item from both stores.
  int remove(const std::string& service, const std::string& account);

 private:
  std::unique_ptr<SecretStore> primary_;
  std::unique_ptr<FileSecretStore> legacy_;
};

}  // namespace store
