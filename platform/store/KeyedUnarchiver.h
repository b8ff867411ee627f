#pragma once
#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/store/Plist.h"

namespace store {

class KeyedUnarchiver;

// A class that reads itself back from a keyed archive: a static initWithCoder that builds a fresh
// object from the coder's members, and its class names (the first is the one archives name).
template <class T>
concept KeyedDecodable = requires(KeyedUnarchiver& coder) {
  { T::keyedClassNames() } -> std::convertible_to<std::vector<std::string>>;
  { T::initWithCoder(coder) } -> std::convertible_to<std::shared_ptr<T>>;
};

// Reads archives in the NSKeyedArchiver layout, from Apple's archiver or from KeyedArchiver.
//
// Any archive may be hostile: references out of range, reference cycles, deep nesting, members
// of the wrong type and graphs that would expand without bound all end the decoding with a
// failure (failed() and error()), never a crash or a hang. After a failure every decode call
// returns an absent or empty value.
class KeyedUnarchiver {
 public:
  // Checks the outer layout; nullopt with the reason in *error when it is not a keyed archive.
  static std::optional<KeyedUnarchiver> open(std::span<const uint8_t> archive,
                                             std::string* error = nullptr);

  // Root objects of archives made by archivedDataWithRootObject (top-level key "root").
  // A missing or nil root is a failure.
  static std::optional<std::string> unarchiveString(std::span<const uint8_t> archive,
                                                    std::string* error = nullptr);
  static std::optional<Plist> unarchivePropertyList(std::span<const uint8_t> archive,
                                                    std::string* error = nullptr);
  template <KeyedDecodable T>
  static std::optional<std::vector<std::shared_ptr<T>>> unarchiveArray(
      std::span<const uint8_t> archive, std::string* error = nullptr) {
    auto coder = open(archive, error);
    if (!coder) return std::nullopt;
    coder->requireRoot();
    auto result = coder->decodeArrayForKey<T>("root");
    if (!coder->finish(error)) return std::nullopt;
    return result;
  }

  // Members of the object being decoded (inside initWithCoder), or top-level keys outside it.
  bool containsValueForKey(const std::string& key) const;
  // A string member; absent for a missing key or nil. Anything but a string is a failure.
  std::optional<std::string> decodeStringForKey(const std::string& key);
  // Inline scalars; 0 / false for a missing key. Other types are a failure.
  int64_t decodeIntegerForKey(const std::string& key);
  bool decodeBoolForKey(const std::string& key);
  double decodeDoubleForKey(const std::string& key);
  // Any property-list shaped object (strings, numbers, NSArray, NSDictionary, NSData, NSDate);
  // absent for a missing key or nil.
  std::optional<Plist> decodePropertyListForKey(const std::string& key);
  // An object of class T (its archived class must be T's or list it); null for missing or nil.
  template <KeyedDecodable T>
  std::shared_ptr<T> decodeObjectForKey(const std::string& key) {
    return decodeObjectAt<T>(member(key));
  }
  // An NSArray/NSMutableArray whose members are all of class T; empty for missing or nil.
  template <KeyedDecodable T>
  std::vector<std::shared_ptr<T>> decodeArrayForKey(const std::string& key) {
    std::vector<std::shared_ptr<T>> out;
    PlistView array = enterCollection(member(key), Collection::Array);
    if (!array) return out;
    PlistView refs = array.get("NS.objects");
    for (size_t i = 0; i < refs.size() && !failed(); ++i) {
      auto object = decodeObjectAt<T>(refs.at(i));
      if (!object && !failed()) fail("nil member in an array");
      if (object) out.push_back(std::move(object));
    }
    leave();
    if (failed()) out.clear();
    return out;
  }

  // Lets initWithCoder reject content it cannot use.
  void fail(const std::string& reason);
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  // True when nothing failed; otherwise copies the reason into *error.
  bool finish(std::string* error) const;

  // Limits that keep hostile archives bounded.
  static constexpr size_t kMaxDepth = 100;

 private:
  enum class Collection { Array, Dictionary };

  KeyedUnarchiver(Plist archive, PlistView objects, PlistView top, uint64_t budget);

  template <KeyedDecodable T>
  std::shared_ptr<T> decodeObjectAt(PlistView ref) {
    PlistView object = enterObject(ref, T::keyedClassNames());
    if (!object) return nullptr;
    std::shared_ptr<T> result = T::initWithCoder(*this);
    leave();
    if (failed()) return nullptr;
    return result;
  }

  // Fails unless the top-level "root" names an object.
  void requireRoot();
  PlistView member(const std::string& key) const;
  // The index a reference names: 0 for nil and on failure (not a reference, out of range,
  // budget spent).
  uint64_t follow(PlistView ref);
  // Makes a composite object the current one, refusing cycles and too deep nesting.
  bool push(uint64_t uid, PlistView object);
  // Follows a reference to a composite object and makes it the current one (leave() ends it).
  // Nothing for nil or on failure (wrong class, cycle, too deep).
  PlistView enterObject(PlistView ref, const std::vector<std::string>& classNames);
  PlistView enterCollection(PlistView ref, Collection kind);
  void leave();
  // The class names ($classname then $classes) of a composite object; empty on failure.
  std::vector<std::string> classNamesOf(PlistView object);
  std::optional<Plist> toPropertyList(PlistView ref);
  std::optional<Plist> compositeToPropertyList(uint64_t uid, PlistView object);

  Plist archive_;
  PlistView objects_;
  std::vector<PlistView> stack_;      // current object last; $top first
  std::vector<uint64_t> inProgress_;  // references being decoded, to catch cycles
  uint64_t budget_;                   // references that may still be followed
  std::string error_;
};

}  // namespace store
