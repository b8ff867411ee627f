#pragma once
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "platform/store/SecretStore.h"

namespace store {

// Secrets in one private binary property-list file, for sessions where no Secret Service
// answers. The folder is made 0700 and the file 0600, and every change rewrites the file
// atomically. A symlink (or anything but a plain file) in the file's place is refused, never
// followed. A file that does not parse is moved aside ("<name>.corrupt-<unix time>"), logged,
// and the store starts empty; if it cannot be moved, every operation fails.
class FileSecretStore : public SecretStore {
 public:
  explicit FileSecretStore(std::filesystem::path file);

  // The default file: "$XDG_DATA_HOME/vemo/keychain.plist".
  static std::filesystem::path defaultPath();

  // The items of a file's bytes; nullopt when they are not a well-formed store.
  static std::optional<std::vector<SecretItem>> parse(std::span<const uint8_t> bytes);
  static std::vector<uint8_t> serialize(const std::vector<SecretItem>& items);

  const std::filesystem::path& path() const { return path_; }
  // Whether the file exists (a fallback left by earlier sessions).
  bool hasFile() const;

  std::string name() const override { return "file " + path_.string(); }
  int find(const std::string& service, const std::string& account,
           std::optional<SecretBytes>* secret) override;
  int add(const SecretItem& item) override;
  int update(const SecretItem& item) override;
  int remove(const std::string& service, const std::string& account) override;

 private:
  // Reads the file into `items` (empty when there is none); a status.
  int load(std::vector<SecretItem>& items);
  int save(const std::vector<SecretItem>& items);

  std::filesystem::path path_;
  std::mutex mutex_;
};

}  // namespace store
