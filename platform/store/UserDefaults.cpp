#include "platform/store/UserDefaults.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "platform/base/AtomicFile.h"
#include "platform/base/Log.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace store {

UserDefaults::UserDefaults(std::filesystem::path file)
    : path_(std::move(file)), values_(Plist::dictionary()) {
  load();
}

UserDefaults& UserDefaults::standard() {
  static std::mutex mutex;
  // Instances are never destroyed, so references handed out earlier stay valid.
  static auto* instances = new std::vector<std::unique_ptr<UserDefaults>>();
  std::filesystem::path file = base::paths::appConfigDir() / "defaults.plist";
  std::lock_guard lock(mutex);
  if (instances->empty() || instances->back()->path() != file)
    instances->push_back(std::make_unique<UserDefaults>(file));
  return *instances->back();
}

void UserDefaults::load() {
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    if (ec) {
      writable_ = false;
      base::log("USER DEFAULTS NOT READABLE: " + path_.string() + ": " + ec.message());
    }
    return;
  }
  std::ifstream in(path_, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad() || !in.is_open()) {
    // Unreadable but maybe fine: keep it and do not write over it.
    writable_ = false;
    base::log("USER DEFAULTS NOT READABLE: " + path_.string());
    return;
  }
  std::string reason;
  auto parsed = Plist::fromBytes(bytes, &reason);
  if (parsed && parsed->type() == PlistType::Dictionary) {
    values_ = std::move(*parsed);
    return;
  }
  if (parsed) reason = "not a dictionary";
  std::filesystem::path aside = base::corruptAsideName(path_);
  std::filesystem::rename(path_, aside, ec);
  if (ec) {
    writable_ = false;
    base::log("USER DEFAULTS CORRUPT (" + reason + "), NOT MOVED: " + path_.string() + ": " +
              ec.message());
    return;
  }
  base::log("USER DEFAULTS CORRUPT (" + reason + "), MOVED TO " + aside.string());
}

bool UserDefaults::save() {
  if (!writable_) return false;
  std::string error;
  if (base::writeFileAtomically(path_, values_.toBinary(), &error)) return true;
  base::log("USER DEFAULTS NOT SAVED: " + error);
  return false;
}

std::optional<Plist> UserDefaults::objectForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return Plist::copyOf(values_.view().get(key));
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return values_.view().get(key).asString();
}

std::optional<std::vector<std::string>> UserDefaults::stringArrayForKey(
    const std::string& key) const {
  std::lock_guard lock(mutex_);
  PlistView array = values_.view().get(key);
  if (array.type() != PlistType::Array) return std::nullopt;
  std::vector<std::string> out;
  for (size_t i = 0; i < array.size(); ++i) {
    auto text = array.at(i).asString();
    if (!text) return std::nullopt;
    out.push_back(std::move(*text));
  }
  return out;
}

std::optional<std::vector<uint8_t>> UserDefaults::dataForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return values_.view().get(key).asData();
}

std::optional<Date> UserDefaults::dateForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return values_.view().get(key).asDate();
}

int64_t UserDefaults::integerForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  PlistView value = values_.view().get(key);
  if (auto i = value.asInteger()) return *i;
  if (auto b = value.asBool()) return *b ? 1 : 0;
  if (auto r = value.asReal()) {
    if (*r > -9.2e18 && *r < 9.2e18) return static_cast<int64_t>(*r);
  }
  return 0;
}

double UserDefaults::doubleForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  PlistView value = values_.view().get(key);
  if (auto r = value.asReal()) return *r;
  if (auto i = value.asInteger()) return static_cast<double>(*i);
  if (auto b = value.asBool()) return *b ? 1 : 0;
  return 0;
}

bool UserDefaults::boolForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  PlistView value = values_.view().get(key);
  if (auto b = value.asBool()) return *b;
  if (auto i = value.asInteger()) return *i != 0;
  if (auto r = value.asReal()) return *r != 0;
  return false;
}

Plist UserDefaults::dictionaryRepresentation() const {
  std::lock_guard lock(mutex_);
  return values_;
}

bool UserDefaults::setObject(Plist value, const std::string& key) {
  std::lock_guard lock(mutex_);
  values_.set(key, std::move(value));
  return save();
}

bool UserDefaults::setString(const std::string& value, const std::string& key) {
  return setObject(Plist::string(value), key);
}

bool UserDefaults::setInteger(int64_t value, const std::string& key) {
  return setObject(Plist::integer(value), key);
}

bool UserDefaults::setDouble(double value, const std::string& key) {
  return setObject(Plist::real(value), key);
}

bool UserDefaults::setBool(bool value, const std::string& key) {
  return setObject(Plist::boolean(value), key);
}

bool UserDefaults::setData(std::span<const uint8_t> value, const std::string& key) {
  return setObject(Plist::data(value), key);
}

bool UserDefaults::setDate(Date value, const std::string& key) {
  return setObject(Plist::date(value), key);
}

bool UserDefaults::removeObjectForKey(const std::string& key) {
  std::lock_guard lock(mutex_);
  values_.remove(key);
  return save();
}

bool UserDefaults::synchronize() {
  std::lock_guard lock(mutex_);
  return save();
}

}  // namespace store
