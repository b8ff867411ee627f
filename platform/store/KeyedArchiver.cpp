#include "platform/store/KeyedArchiver.h"

namespace store {

namespace {

constexpr int64_t kPlistEpoch = 978307200;

}  // namespace

KeyedArchiver::KeyedArchiver() : top_(Plist::dictionary()), objects_(Plist::array()) {
  objects_.append(Plist::string("$null"));
  stack_.push_back(top_.view().node());
}

void KeyedArchiver::encodeObject(const std::optional<std::string>& value, const std::string& key) {
  setMember(key, Plist::uid(value ? refToString(*value) : 0));
}

void KeyedArchiver::encodeObject(const Plist& value, const std::string& key) {
  setMember(key, Plist::uid(refToValue(value.view())));
}

void KeyedArchiver::encodeInteger(int64_t value, const std::string& key) {
  setMember(key, Plist::integer(value));
}

void KeyedArchiver::encodeBool(bool value, const std::string& key) {
  setMember(key, Plist::boolean(value));
}

void KeyedArchiver::encodeDouble(double value, const std::string& key) {
  setMember(key, Plist::real(value));
}

std::vector<uint8_t> KeyedArchiver::finishEncoding() const {
  Plist archive = Plist::dictionary();
  archive.set("$version", Plist::integer(100000));
  archive.set("$archiver", Plist::string("NSKeyedArchiver"));
  archive.set("$top", top_);
  archive.set("$objects", objects_);
  return archive.toBinary();
}

uint64_t KeyedArchiver::appendObject(Plist object) {
  uint64_t uid = objects_.view().size();
  objects_.append(std::move(object));
  return uid;
}

uint64_t KeyedArchiver::refToString(const std::string& value) {
  auto found = stringUids_.find(value);
  if (found != stringUids_.end()) return found->second;
  uint64_t uid = appendObject(Plist::string(value));
  stringUids_.emplace(value, uid);
  return uid;
}

uint64_t KeyedArchiver::refToValue(PlistView value) {
  switch (value.type()) {
    case PlistType::String:
      return refToString(*value.asString());
    case PlistType::Integer:
    case PlistType::Real:
    case PlistType::Boolean:
    case PlistType::Data:
      return appendObject(*Plist::copyOf(value));
    case PlistType::Date: {
      uint64_t uid = beginObject();
      auto since = value.asDate()->time_since_epoch();
      double seconds = std::chrono::duration<double>(since).count() - kPlistEpoch;
      setMember("NS.time", Plist::real(seconds));
      endObject({"NSDate", "NSObject"});
      return uid;
    }
    case PlistType::Array: {
      uint64_t uid = beginObject();
      std::vector<uint64_t> members;
      for (size_t i = 0; i < value.size(); ++i) members.push_back(refToValue(value.at(i)));
      setMemberUids("NS.objects", members);
      endObject({"NSArray", "NSObject"});
      return uid;
    }
    case PlistType::Dictionary: {
      uint64_t uid = beginObject();
      std::vector<uint64_t> keys, members;
      for (const auto& [key, member] : value.entries()) {
        keys.push_back(refToString(key));
        members.push_back(refToValue(member));
      }
      setMemberUids("NS.keys", keys);
      setMemberUids("NS.objects", members);
      endObject({"NSDictionary", "NSObject"});
      return uid;
    }
    case PlistType::Uid:  // a bare reference means nothing outside its own archive
    case PlistType::None:
      return 0;
  }
  return 0;
}

uint64_t KeyedArchiver::beginObject() {
  uint64_t uid = appendObject(Plist::dictionary());
  stack_.push_back(plist_array_get_item(objects_.view().node(), static_cast<uint32_t>(uid)));
  return uid;
}

void KeyedArchiver::endObject(const std::vector<std::string>& classNames) {
  const std::string& name = classNames.empty() ? std::string("NSObject") : classNames.front();
  auto found = classUids_.find(name);
  uint64_t classUid;
  if (found != classUids_.end()) {
    classUid = found->second;
  } else {
    Plist entry = Plist::dictionary();
    entry.set("$classname", Plist::string(name));
    entry.set("$classes",
              Plist::stringArray(classNames.empty() ? std::vector<std::string>{name} : classNames));
    classUid = appendObject(std::move(entry));
    classUids_.emplace(name, classUid);
  }
  setMember("$class", Plist::uid(classUid));
  stack_.pop_back();
}

void KeyedArchiver::setMember(const std::string& key, Plist value) {
  plist_dict_set_item(stack_.back(), key.c_str(), plist_copy(value.view().node()));
}

void KeyedArchiver::setMemberUids(const std::string& key, const std::vector<uint64_t>& uids) {
  Plist list = Plist::array();
  for (uint64_t uid : uids) list.append(Plist::uid(uid));
  setMember(key, std::move(list));
}

}  // namespace store
