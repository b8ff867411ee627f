#include "platform/store/FileSecretStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/base/AtomicFile.h"
#include "platform/base/Log.h"
#include "platform/base/Paths.h"
#include "platform/store/Plist.h"

namespace store {

using namespace keychain_status;

namespace {

auto matching(const std::string& service, const std::string& account) {
  return [&](const SecretItem& item) { return item.service == service && item.account == account; };
}

bool storable(const SecretItem& item) {
  return isStorableName(item.service) && isStorableName(item.account) && isStorableName(item.label);
}

std::optional<std::string> stringMember(PlistView entry, const char* key) {
  PlistView v = entry.get(key);
  return v.type() == PlistType::String ? v.asString() : std::nullopt;
}

}  // namespace

FileSecretStore::FileSecretStore(std::filesystem::path file) : path_(std::move(file)) {}

std::filesystem::path FileSecretStore::defaultPath() {
  return base::paths::appDataDir() / "keychain.plist";
}

// Layout: {"items": [{"service": s, "account": a, "label": l, "secret": <data>}, ...]}; an item
// without "secret" holds none.
std::optional<std::vector<SecretItem>> FileSecretStore::parse(std::span<const uint8_t> bytes) {
  auto root = Plist::fromBinary(bytes);
  if (!root || root->type() != PlistType::Dictionary) return std::nullopt;
  PlistView list = root->view().get("items");
  if (list.type() != PlistType::Array) return std::nullopt;
  std::vector<SecretItem> items;
  for (size_t i = 0; i < list.size(); ++i) {
    PlistView entry = list.at(i);
    auto service = stringMember(entry, "service");
    auto account = stringMember(entry, "account");
    auto label = stringMember(entry, "label");
    PlistView secret = entry.get("secret");
    if (!service || !account || !label || !isStorableName(*service) || !isStorableName(*account) ||
        !isStorableName(*label) || (secret && secret.type() != PlistType::Data))
      return std::nullopt;
    if (std::any_of(items.begin(), items.end(), matching(*service, *account))) return std::nullopt;
    items.push_back({*service, *account, *label, secret ? secret.asData() : std::nullopt});
  }
  return items;
}

std::vector<uint8_t> FileSecretStore::serialize(const std::vector<SecretItem>& items) {
  Plist list = Plist::array();
  for (const auto& item : items) {
    Plist entry = Plist::dictionary();
    entry.set("service", Plist::string(item.service));
    entry.set("account", Plist::string(item.account));
    entry.set("label", Plist::string(item.label));
    if (item.secret) entry.set("secret", Plist::data(*item.secret));
    list.append(std::move(entry));
  }
  Plist root = Plist::dictionary();
  root.set("items", std::move(list));
  return root.toBinary();
}

bool FileSecretStore::hasFile() const {
  struct stat st;
  return ::lstat(path_.c_str(), &st) == 0;
}

int FileSecretStore::load(std::vector<SecretItem>& items) {
  items.clear();
  int fd = ::open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return kSuccess;
    base::log("KEYCHAIN FILE NOT READABLE: " + path_.string() + ": " + std::strerror(errno));
    return kIO;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    base::log("KEYCHAIN FILE REFUSED, NOT A PLAIN FILE: " + path_.string());
    return kIO;
  }
  std::vector<uint8_t> bytes;
  uint8_t buffer[16384];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      base::log("KEYCHAIN FILE NOT READABLE: " + path_.string());
      return kIO;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  if (auto parsed = parse(bytes)) {
    items = std::move(*parsed);
    return kSuccess;
  }
  std::filesystem::path aside = base::corruptAsideName(path_);
  if (::rename(path_.c_str(), aside.c_str()) != 0) {
    base::log("KEYCHAIN FILE CORRUPT, NOT MOVED: " + path_.string());
    return kIO;
  }
  base::log("KEYCHAIN FILE CORRUPT, MOVED TO " + aside.string());
  return kSuccess;
}

int FileSecretStore::save(const std::vector<SecretItem>& items) {
  std::filesystem::path folder = path_.parent_path();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || ::chmod(folder.c_str(), 0700) != 0) {
    base::log("KEYCHAIN FILE NOT WRITTEN: cannot prepare " + folder.string());
    return kIO;
  }
  struct stat st;
  if (::lstat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    base::log("KEYCHAIN FILE REFUSED, NOT A PLAIN FILE: " + path_.string());
    return kIO;
  }
  std::string error;
  if (!base::writeFileAtomically(path_, serialize(items), &error)) {
    base::log("KEYCHAIN FILE NOT WRITTEN: " + error);
    return kIO;
  }
  return kSuccess;
}

int FileSecretStore::find(const std::string& service, const std::string& account,
                          std::optional<SecretBytes>* secret) {
  if (!isStorableName(service) || !isStorableName(account)) return kParam;
  std::lock_guard lock(mutex_);
  std::vector<SecretItem> items;
  if (int status = load(items)) return status;
  auto it = std::find_if(items.begin(), items.end(), matching(service, account));
  if (it == items.end()) return kItemNotFound;
  if (secret) *secret = it->secret;
  return kSuccess;
}

int FileSecretStore::add(const SecretItem& item) {
  if (!storable(item)) return kParam;
  std::lock_guard lock(mutex_);
  std::vector<SecretItem> items;
  if (int status = load(items)) return status;
  if (std::any_of(items.begin(), items.end(), matching(item.service, item.account)))
    return kDuplicateItem;
  items.push_back(item);
  return save(items);
}

int FileSecretStore::update(const SecretItem& item) {
  if (!storable(item)) return kParam;
  std::lock_guard lock(mutex_);
  std::vector<SecretItem> items;
  if (int status = load(items)) return status;
  auto it = std::find_if(items.begin(), items.end(), matching(item.service, item.account));
  if (it == items.end()) return kItemNotFound;
  *it = item;
  return save(items);
}

int FileSecretStore::remove(const std::string& service, const std::string& account) {
  if (!isStorableName(service) || !isStorableName(account)) return kParam;
  std::lock_guard lock(mutex_);
  std::vector<SecretItem> items;
  if (int status = load(items)) return status;
  auto it = std::find_if(items.begin(), items.end(), matching(service, account));
  if (it == items.end()) return kItemNotFound;
  items.erase(it);
  return save(items);
}

}  // namespace store
