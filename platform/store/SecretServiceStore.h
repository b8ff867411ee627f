#pragma once
#include <memory>

#include "platform/store/SecretStore.h"

typedef struct _SecretService SecretService;

namespace store {

// Secrets in the desktop's Secret Service (GNOME Keyring, KWallet...) through libsecret: one
// item per (service, account) under the attributes "service" and "account", in the default
// collection. Items of a locked collection are reported as kInteractionNotAllowed; nothing here
// asks the user to unlock.
class SecretServiceStore : public SecretStore {
 public:
  // The store when a Secret Service is running on the session bus now; nullptr otherwise (no
  // session bus, nobody owns "org.freedesktop.secrets"). Never starts a bus or a service.
  static std::unique_ptr<SecretServiceStore> connect();
  ~SecretServiceStore() override;

  std::string name() const override { return "Secret Service"; }
  int find(const std::string& service, const std::string& account,
           std::optional<SecretBytes>* secret) override;
  int add(const SecretItem& item) override;
  int update(const SecretItem& item) override;
  int remove(const std::string& service, const std::string& account) override;

  // Tests: locks the default collection.
  bool lockDefaultCollectionForTesting();

 private:
  explicit SecretServiceStore(SecretService* service) : service_(service) {}
  SecretService* service_;  // owned reference
};

}  // namespace store
