#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace store {

// Status codes of the credential store, the platform's values.
namespace keychain_status {
inline constexpr int kSuccess = 0;
inline constexpr int kParam = -50;             // a name that is not UTF-8 text (or holds a NUL)
inline constexpr int kIO = -36;                // the file store cannot be read or written
inline constexpr int kNotAvailable = -25291;   // no store answers (D-Bus error, no reply)
inline constexpr int kDuplicateItem = -25299;  // add: an item exists for the pair
inline constexpr int kItemNotFound = -25300;   // no item for the pair
inline constexpr int kInteractionNotAllowed = -25308;  // the item's collection is locked
}  // namespace keychain_status

using SecretBytes = std::vector<uint8_t>;

// One stored secret, found by (service, account).
struct SecretItem {
  std::string service;
  std::string account;
  std::string label;
  // Absent for an item that holds no secret at all.
  std::optional<SecretBytes> secret;
};

// Whether a service, account or label can be stored: UTF-8 text without NUL characters. Both
// stores reject other names with kParam, since neither could give them back unchanged.
bool isStorableName(const std::string& name);

// A store of secrets keyed by (service, account). Every operation returns a status from
// keychain_status; a missing item is kItemNotFound, never an error of another kind, and an
// error is never reported as kItemNotFound. Implementations are safe to use from any thread.
class SecretStore {
 public:
  virtual ~SecretStore() = default;
  // A short name for the log: "Secret Service", "file".
  virtual std::string name() const = 0;
  // Looks the item up. With `secret` given, also loads what it holds (absent when nothing).
  virtual int find(const std::string& service, const std::string& account,
                   std::optional<SecretBytes>* secret) = 0;
  // kDuplicateItem when an item exists for the pair.
  virtual int add(const SecretItem& item) = 0;
  // Replaces the label and secret of an existing item; kItemNotFound when there is none.
  virtual int update(const SecretItem& item) = 0;
  virtual int remove(const std::string& service, const std::string& account) = 0;
};

}  // namespace store
