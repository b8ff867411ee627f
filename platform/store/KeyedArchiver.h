#pragma once
#include <concepts>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/store/Plist.h"

namespace store {

class KeyedArchiver;

// A class that writes itself into a keyed archive: its class names, most derived first
// (for example {"Item", "NSObject"}), and its members under their keys.
template <class T>
concept KeyedEncodable = requires(const T& object, KeyedArchiver& coder) {
  { T::keyedClassNames() } -> std::convertible_to<std::vector<std::string>>;
  object.encodeWithCoder(coder);
};

// Writes objects in the binary NSKeyedArchiver layout: "$archiver" "NSKeyedArchiver",
// "$version" 100000, "$top" naming the top objects, and "$objects" with "$null" first.
// Strings are stored as plain strings (equal strings once), integers, booleans and reals inline,
// arrays and dictionaries as NSMutableArray/NSArray/NSDictionary objects, and archivable classes
// as dictionaries of their members with a class entry ("$classname", "$classes") after them.
//
// Keys given outside encodeWithCoder are top-level keys; archivedDataWithRootObject uses "root".
class KeyedArchiver {
 public:
  KeyedArchiver();

  // A string, or nil when absent.
  void encodeObject(const std::optional<std::string>& value, const std::string& key);
  // Any property-list value: dictionaries (string keys) become NSDictionary, arrays NSArray,
  // data NSData, dates NSDate; strings, numbers and booleans as above.
  void encodeObject(const Plist& value, const std::string& key);
  // An archivable object, or nil for a null pointer.
  template <KeyedEncodable T>
  void encodeObject(const std::shared_ptr<T>& object, const std::string& key) {
    setMember(key, Plist::uid(refTo(object)));
  }
  // A mutable array of archivable objects (null pointers are left out).
  template <KeyedEncodable T>
  void encodeObject(const std::vector<std::shared_ptr<T>>& objects, const std::string& key) {
    setMember(key, Plist::uid(refTo(objects)));
  }
  // Scalars, stored inline in the object being encoded.
  void encodeInteger(int64_t value, const std::string& key);
  void encodeBool(bool value, const std::string& key);
  void encodeDouble(double value, const std::string& key);

  // The finished archive as a binary property list.
  std::vector<uint8_t> finishEncoding() const;

  KeyedArchiver(const KeyedArchiver&) = delete;
  KeyedArchiver& operator=(const KeyedArchiver&) = delete;

  // An archive of one object (anything encodeObject takes) under the top-level key "root".
  template <class Root>
  static std::vector<uint8_t> archivedDataWithRootObject(const Root& root) {
    KeyedArchiver archiver;
    archiver.encodeObject(root, "root");
    return archiver.finishEncoding();
  }

 private:
  template <KeyedEncodable T>
  uint64_t refTo(const std::shared_ptr<T>& object) {
    if (!object) return 0;
    uint64_t uid = beginObject();
    object->encodeWithCoder(*this);
    endObject(T::keyedClassNames());
    return uid;
  }
  template <KeyedEncodable T>
  uint64_t refTo(const std::vector<std::shared_ptr<T>>& objects) {
    uint64_t uid = beginObject();
    std::vector<uint64_t> members;
    for (const auto& object : objects)
      if (object) members.push_back(refTo(object));
    setMemberUids("NS.objects", members);
    endObject({"NSMutableArray", "NSArray", "NSObject"});
    return uid;
  }

  uint64_t refToString(const std::string& value);
  uint64_t refToValue(PlistView value);
  uint64_t appendObject(Plist object);
  // Starts a composite object: reserves its place in "$objects" and makes it the object whose
  // members are being written. endObject adds its class entry and returns to the outer object.
  uint64_t beginObject();
  void endObject(const std::vector<std::string>& classNames);
  void setMember(const std::string& key, Plist value);
  void setMemberUids(const std::string& key, const std::vector<uint64_t>& uids);

  Plist top_;
  Plist objects_;
  std::vector<plist_t> stack_;  // objects being encoded; the back one receives members
  std::map<std::string, uint64_t> stringUids_;
  std::map<std::string, uint64_t> classUids_;
};

}  // namespace store
