#include "platform/store/Keychain.h"

#include <mutex>
#include <vector>

#include "platform/base/Log.h"
#include "platform/store/SecretServiceStore.h"

namespace store {

using namespace keychain_status;

namespace {

std::mutex sharedMutex;
Keychain* testKeychain = nullptr;

}  // namespace

Keychain::Keychain(std::unique_ptr<SecretStore> primary, std::unique_ptr<FileSecretStore> legacy)
    : primary_(std::move(primary)), legacy_(std::move(legacy)) {}

Keychain& Keychain::shared() {
  struct Opened {
    std::filesystem::path file;
    std::unique_ptr<Keychain> keychain;
  };
  // Never destroyed, so references handed out earlier stay valid.
  static auto* opened = new std::vector<Opened>();
  std::lock_guard lock(sharedMutex);
  if (testKeychain) return *testKeychain;
  std::filesystem::path file = FileSecretStore::defaultPath();
  if (opened->empty() || opened->back().file != file) {
    std::unique_ptr<Keychain> keychain;
    if (auto service = SecretServiceStore::connect()) {
      keychain =
          std::make_unique<Keychain>(std::move(service), std::make_unique<FileSecretStore>(file));
    } else {
      keychain = std::make_unique<Keychain>(std::make_unique<FileSecretStore>(file), nullptr);
    }
    base::log("KEYCHAIN STORE: " + keychain->primary().name());
    opened->push_back({file, std::move(keychain)});
  }
  return *opened->back().keychain;
}

void Keychain::setSharedForTesting(Keychain* keychain) {
  std::lock_guard lock(sharedMutex);
  testKeychain = keychain;
}

int Keychain::find(const std::string& service, const std::string& account,
                   std::optional<SecretBytes>* secret) {
  int status = primary_->find(service, account, secret);
  if (status != kItemNotFound || !legacy_ || !legacy_->hasFile()) return status;

  std::optional<SecretBytes> kept;
  int legacyStatus = legacy_->find(service, account, &kept);
  if (legacyStatus == kItemNotFound) return kItemNotFound;
  if (legacyStatus != kSuccess) {
    // The old file cannot be read: the primary store's answer stands.
    return kItemNotFound;
  }
  if (secret) *secret = kept;
  if (!kept) return kSuccess;
  // Move it; when the Secret Service refuses, the file keeps it for the next lookup.
  SecretItem item{service, account, service, kept};
  if (primary_->add(item) == kSuccess) {
    legacy_->remove(service, account);
    base::log("KEYCHAIN ENTRY MOVED FROM FILE: " + service);
  }
  return kSuccess;
}

int Keychain::add(const SecretItem& item) {
  return primary_->add(item);
}

int Keychain::update(const SecretItem& item) {
  return primary_->update(item);
}

int Keychain::remove(const std::string& service, const std::string& account) {
  int status = primary_->remove(service, account);
  if (status != kSuccess && status != kItemNotFound) return status;
  if (legacy_ && legacy_->hasFile() && legacy_->remove(service, account) == kSuccess)
    return kSuccess;
  return status;
}

}  // namespace store
