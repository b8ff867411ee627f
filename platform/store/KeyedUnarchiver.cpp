#include "platform/store/KeyedUnarchiver.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Strings.h"

namespace store {

namespace {

constexpr double kPlistEpoch = 978307200;
constexpr double kLargestDateSeconds = 9.2e9;

bool hasClass(const std::vector<std::string>& classes, std::string_view name) {
  return std::find(classes.begin(), classes.end(), name) != classes.end();
}

// Counts the references anywhere in the tree, without recursion.
uint64_t countReferences(PlistView root) {
  uint64_t count = 0;
  std::vector<PlistView> pending{root};
  while (!pending.empty()) {
    PlistView node = pending.back();
    pending.pop_back();
    switch (node.type()) {
      case PlistType::Uid:
        ++count;
        break;
      case PlistType::Array:
        for (size_t i = 0; i < node.size(); ++i) pending.push_back(node.at(i));
        break;
      case PlistType::Dictionary:
        for (auto& entry : node.entries()) pending.push_back(entry.second);
        break;
      default:
        break;
    }
  }
  return count;
}

void setError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

KeyedUnarchiver::KeyedUnarchiver(Plist archive, PlistView objects, PlistView top, uint64_t budget)
    : archive_(std::move(archive)), objects_(objects), stack_{top}, budget_(budget) {}

std::optional<KeyedUnarchiver> KeyedUnarchiver::open(std::span<const uint8_t> data,
                                                     std::string* error) {
  std::string reason;
  auto archive = Plist::fromBytes(data, &reason);
  if (!archive) {
    setError(error, "not a keyed archive: " + reason);
    return std::nullopt;
  }
  PlistView root = archive->view();
  if (root.get("$archiver").asString() != "NSKeyedArchiver") {
    setError(error, "not a keyed archive: no \"$archiver\" \"NSKeyedArchiver\"");
    return std::nullopt;
  }
  PlistView objects = root.get("$objects");
  PlistView top = root.get("$top");
  if (objects.type() != PlistType::Array || objects.size() == 0 ||
      objects.at(0).asString() != "$null") {
    setError(error, "keyed archive without \"$objects\" starting with \"$null\"");
    return std::nullopt;
  }
  if (top.type() != PlistType::Dictionary) {
    setError(error, "keyed archive without a \"$top\" dictionary");
    return std::nullopt;
  }
  // Every reference in a tree-shaped archive is followed once; the slack allows for objects
  // shared a few times, while graphs that expand exponentially run out.
  uint64_t budget = 4 * (countReferences(objects) + countReferences(top)) + 1024;
  return KeyedUnarchiver(std::move(*archive), objects, top, budget);
}

std::optional<std::string> KeyedUnarchiver::unarchiveString(std::span<const uint8_t> archive,
                                                            std::string* error) {
  auto coder = open(archive, error);
  if (!coder) return std::nullopt;
  coder->requireRoot();
  auto result = coder->decodeStringForKey("root");
  if (!coder->finish(error)) return std::nullopt;
  return result;
}

std::optional<Plist> KeyedUnarchiver::unarchivePropertyList(std::span<const uint8_t> archive,
                                                            std::string* error) {
  auto coder = open(archive, error);
  if (!coder) return std::nullopt;
  coder->requireRoot();
  auto result = coder->decodePropertyListForKey("root");
  if (!coder->finish(error)) return std::nullopt;
  return result;
}

void KeyedUnarchiver::requireRoot() {
  PlistView root = member("root");
  if (!root || root.asUid() == uint64_t{0}) fail("the archive has no root object");
}

bool KeyedUnarchiver::containsValueForKey(const std::string& key) const {
  return static_cast<bool>(member(key));
}

std::optional<std::string> KeyedUnarchiver::decodeStringForKey(const std::string& key) {
  uint64_t uid = follow(member(key));
  if (!uid) return std::nullopt;
  PlistView object = objects_.at(uid);
  if (auto text = object.asString()) return text;
  if (object.type() == PlistType::Dictionary) {
    auto classes = classNamesOf(object);
    if (failed()) return std::nullopt;
    if (hasClass(classes, "NSString") || hasClass(classes, "NSMutableString")) {
      if (auto text = object.get("NS.string").asString()) return text;
    }
  }
  fail("member \"" + key + "\" is not a string");
  return std::nullopt;
}

int64_t KeyedUnarchiver::decodeIntegerForKey(const std::string& key) {
  PlistView value = member(key);
  if (failed() || !value) return 0;
  if (auto i = value.asInteger()) return *i;
  if (auto b = value.asBool()) return *b ? 1 : 0;
  if (auto r = value.asReal()) {
    if (std::isfinite(*r) && std::fabs(*r) < 9.2e18) return static_cast<int64_t>(*r);
  }
  fail("member \"" + key + "\" is not an integer");
  return 0;
}

bool KeyedUnarchiver::decodeBoolForKey(const std::string& key) {
  PlistView value = member(key);
  if (failed() || !value) return false;
  if (auto b = value.asBool()) return *b;
  if (auto i = value.asInteger()) return *i != 0;
  fail("member \"" + key + "\" is not a boolean");
  return false;
}

double KeyedUnarchiver::decodeDoubleForKey(const std::string& key) {
  PlistView value = member(key);
  if (failed() || !value) return 0;
  if (auto r = value.asReal()) return *r;
  if (auto i = value.asInteger()) return static_cast<double>(*i);
  fail("member \"" + key + "\" is not a number");
  return 0;
}

std::optional<Plist> KeyedUnarchiver::decodePropertyListForKey(const std::string& key) {
  PlistView ref = member(key);
  if (!ref) return std::nullopt;
  return toPropertyList(ref);
}

void KeyedUnarchiver::fail(const std::string& reason) {
  if (error_.empty()) error_ = reason.empty() ? "decoding failed" : reason;
}

bool KeyedUnarchiver::finish(std::string* error) const {
  if (!failed()) return true;
  setError(error, error_);
  return false;
}

PlistView KeyedUnarchiver::member(const std::string& key) const {
  if (failed()) return PlistView();
  return stack_.back().get(key);
}

uint64_t KeyedUnarchiver::follow(PlistView ref) {
  if (failed() || !ref) return 0;
  auto uid = ref.asUid();
  if (!uid) {
    fail("expected an object reference");
    return 0;
  }
  if (*uid >= objects_.size()) {
    fail(base::format("object reference %llu out of range", static_cast<unsigned long long>(*uid)));
    return 0;
  }
  if (budget_ == 0) {
    fail("the archive refers to its objects too many times");
    return 0;
  }
  --budget_;
  return *uid;
}

bool KeyedUnarchiver::push(uint64_t uid, PlistView object) {
  if (std::find(inProgress_.begin(), inProgress_.end(), uid) != inProgress_.end()) {
    fail(base::format("object %llu contains itself", static_cast<unsigned long long>(uid)));
    return false;
  }
  if (inProgress_.size() >= kMaxDepth) {
    fail("objects nested too deeply");
    return false;
  }
  inProgress_.push_back(uid);
  stack_.push_back(object);
  return true;
}

void KeyedUnarchiver::leave() {
  inProgress_.pop_back();
  stack_.pop_back();
}

std::vector<std::string> KeyedUnarchiver::classNamesOf(PlistView object) {
  PlistView ref = object.get("$class");
  if (!ref) {
    fail("object without a class");
    return {};
  }
  uint64_t uid = follow(ref);
  if (!uid) {
    fail("object with a nil class");
    return {};
  }
  PlistView entry = objects_.at(uid);
  auto name = entry.get("$classname").asString();
  if (!name) {
    fail("class entry without \"$classname\"");
    return {};
  }
  std::vector<std::string> names{*name};
  PlistView classes = entry.get("$classes");
  for (size_t i = 0; i < classes.size(); ++i) {
    auto item = classes.at(i).asString();
    if (!item) {
      fail("class entry with a non-string in \"$classes\"");
      return {};
    }
    names.push_back(*item);
  }
  return names;
}

PlistView KeyedUnarchiver::enterObject(PlistView ref, const std::vector<std::string>& classNames) {
  uint64_t uid = follow(ref);
  if (!uid) return PlistView();
  PlistView object = objects_.at(uid);
  if (object.type() != PlistType::Dictionary) {
    fail("expected an object of class " + (classNames.empty() ? "?" : classNames.front()));
    return PlistView();
  }
  auto classes = classNamesOf(object);
  if (failed()) return PlistView();
  if (classNames.empty() || !hasClass(classes, classNames.front())) {
    fail("expected an object of class " + (classNames.empty() ? "?" : classNames.front()) +
         ", found " + classes.front());
    return PlistView();
  }
  return push(uid, object) ? object : PlistView();
}

PlistView KeyedUnarchiver::enterCollection(PlistView ref, Collection kind) {
  const char* family = kind == Collection::Array ? "NSArray" : "NSDictionary";
  PlistView object = enterObject(ref, {family});
  if (!object) return PlistView();
  PlistView members = object.get("NS.objects");
  bool ok = members.type() == PlistType::Array;
  if (kind == Collection::Dictionary) {
    PlistView keys = object.get("NS.keys");
    ok = ok && keys.type() == PlistType::Array && keys.size() == members.size();
  }
  if (!ok) {
    fail(std::string("malformed ") + family);
    leave();
    return PlistView();
  }
  return object;
}

std::optional<Plist> KeyedUnarchiver::toPropertyList(PlistView ref) {
  uint64_t uid = follow(ref);
  if (!uid) return std::nullopt;
  PlistView object = objects_.at(uid);
  switch (object.type()) {
    case PlistType::String:
    case PlistType::Integer:
    case PlistType::Real:
    case PlistType::Boolean:
    case PlistType::Data:
    case PlistType::Date:
      return Plist::copyOf(object);
    case PlistType::Dictionary:
      return compositeToPropertyList(uid, object);
    default:
      fail(base::format("object %llu is not a value", static_cast<unsigned long long>(uid)));
      return std::nullopt;
  }
}

std::optional<Plist> KeyedUnarchiver::compositeToPropertyList(uint64_t uid, PlistView object) {
  auto classes = classNamesOf(object);
  if (failed() || !push(uid, object)) return std::nullopt;
  std::optional<Plist> result;
  if (hasClass(classes, "NSDictionary")) {
    PlistView keys = object.get("NS.keys"), values = object.get("NS.objects");
    if (keys.type() != PlistType::Array || values.type() != PlistType::Array ||
        keys.size() != values.size()) {
      fail("malformed NSDictionary");
    } else {
      result = Plist::dictionary();
      for (size_t i = 0; i < keys.size() && !failed(); ++i) {
        auto key = toPropertyList(keys.at(i));
        std::optional<std::string> name = key ? key->view().asString() : std::nullopt;
        if (!name) {
          fail("dictionary key that is not a string");
          break;
        }
        auto value = toPropertyList(values.at(i));
        if (!value) {
          fail("nil value in a dictionary");
          break;
        }
        result->set(*name, std::move(*value));
      }
    }
  } else if (hasClass(classes, "NSArray") || hasClass(classes, "NSSet") ||
             hasClass(classes, "NSOrderedSet")) {
    PlistView values = object.get("NS.objects");
    if (values.type() != PlistType::Array) {
      fail("malformed " + classes.front());
    } else {
      result = Plist::array();
      for (size_t i = 0; i < values.size() && !failed(); ++i) {
        auto value = toPropertyList(values.at(i));
        if (!value) {
          fail("nil member in an array");
          break;
        }
        result->append(std::move(*value));
      }
    }
  } else if (hasClass(classes, "NSString") || hasClass(classes, "NSMutableString")) {
    if (auto text = object.get("NS.string").asString()) result = Plist::string(*text);
  } else if (hasClass(classes, "NSData") || hasClass(classes, "NSMutableData")) {
    if (object.get("NS.data").type() == PlistType::Data)
      result = Plist::copyOf(object.get("NS.data"));
  } else if (hasClass(classes, "NSDate")) {
    PlistView time = object.get("NS.time");
    std::optional<double> seconds = time.asReal();
    if (!seconds && time.asInteger()) seconds = static_cast<double>(*time.asInteger());
    if (seconds && std::isfinite(*seconds)) {
      // A Date counts nanoseconds in 64 bits: about 292 years either side of 1970. Times beyond
      // would wrap around into other dates.
      const double since1970 = *seconds + kPlistEpoch;
      if (std::fabs(since1970) < kLargestDateSeconds) {
        auto since = std::chrono::duration<double>(since1970);
        result = Plist::date(Date(std::chrono::duration_cast<Date::duration>(since)));
      } else {
        fail(base::format("NSDate time %g is out of range", *seconds));
      }
    }
  } else {
    fail("class " + classes.front() + " is not a property-list class");
  }
  if (!result && !failed()) fail("malformed " + classes.front());
  leave();
  if (failed()) return std::nullopt;
  return result;
}

}  // namespace store
