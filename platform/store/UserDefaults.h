#pragma once
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/store/Plist.h"

namespace store {

// The program's settings: one dictionary kept in a binary property list file. Values are
// strings, numbers, booleans, arrays, dictionaries, data (keyed archives among them) and dates.
//
// Every change is written at once and atomically. A settings file that does not parse is moved
// aside (to "<name>.corrupt-<unix time>"), reported once in the log, and the store starts empty;
// if it cannot be moved, the store keeps working in memory and writes nothing, so the file is
// never overwritten. Safe to use from any thread.
class UserDefaults {
 public:
  explicit UserDefaults(std::filesystem::path file);
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  // The store in "$XDG_CONFIG_HOME/vemo/defaults.plist". One instance per path: when the
  // configuration folder changes (tests), the next call opens the file there; references to
  // earlier instances stay valid.
  static UserDefaults& standard();

  const std::filesystem::path& path() const { return path_; }

  std::optional<Plist> objectForKey(const std::string& key) const;
  std::optional<std::string> stringForKey(const std::string& key) const;
  // An array whose members are all strings; absent otherwise.
  std::optional<std::vector<std::string>> stringArrayForKey(const std::string& key) const;
  std::optional<std::vector<uint8_t>> dataForKey(const std::string& key) const;
  std::optional<Date> dateForKey(const std::string& key) const;
  // Numbers and booleans; 0 / false when absent or of another type.
  int64_t integerForKey(const std::string& key) const;
  double doubleForKey(const std::string& key) const;
  bool boolForKey(const std::string& key) const;
  // The whole store.
  Plist dictionaryRepresentation() const;

  // Each change returns whether it reached the file (the value is kept in memory either way).
  bool setObject(Plist value, const std::string& key);
  bool setString(const std::string& value, const std::string& key);
  bool setInteger(int64_t value, const std::string& key);
  bool setDouble(double value, const std::string& key);
  bool setBool(bool value, const std::string& key);
  bool setData(std::span<const uint8_t> value, const std::string& key);
  bool setDate(Date value, const std::string& key);
  bool removeObjectForKey(const std::string& key);
  // Writes the whole store again (changes are already written; this retries a failed write).
  bool synchronize();

 private:
  void load();
  bool save();  // with mutex_ held

  std::filesystem::path path_;
  mutable std::mutex mutex_;
  Plist values_;
  bool writable_ = true;
};

}  // namespace store
