#include <gtest/gtest.h>

#include <random>

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "tests/platform/store/Note.h"

using store::KeyedUnarchiver;
using store::Plist;

namespace {

using Uids = std::vector<uint64_t>;
constexpr uint64_t kArrayClass = 1;  // every builder adds it first

Plist dict(std::initializer_list<std::pair<const char*, Plist>> entries) {
  Plist d = Plist::dictionary();
  for (const auto& [key, value] : entries) d.set(key, value);
  return d;
}

Plist refs(const Uids& uids) {
  Plist list = Plist::array();
  for (auto uid : uids) list.append(Plist::uid(uid));
  return list;
}

Plist arrayObject(const Uids& members, uint64_t classUid = kArrayClass) {
  return dict({{"NS.objects", refs(members)}, {"$class", Plist::uid(classUid)}});
}

// Builds archives object by object, the way a hostile file might be laid out.
struct ArchiveBuilder {
  uint64_t next() const { return objects_.view().size(); }  // the uid the next object gets
  uint64_t add(Plist object) {
    objects_.append(std::move(object));
    return objects_.view().size() - 1;
  }
  uint64_t addClass(const std::string& name) {
    return add(dict({{"$classname", Plist::string(name)},
                     {"$classes", Plist::stringArray({name, "NSObject"})}}));
  }
  uint64_t array(const Uids& members) { return add(arrayObject(members)); }
  Plist note(uint64_t textUid) {
    if (!noteClass_) noteClass_ = addClass("Note");
    return dict({{"text", Plist::uid(textUid)}, {"$class", Plist::uid(noteClass_)}});
  }
  std::vector<uint8_t> bytes(uint64_t root) const {
    return dict({{"$archiver", Plist::string("NSKeyedArchiver")},
                 {"$version", Plist::integer(100000)},
                 {"$top", dict({{"root", Plist::uid(root)}})},
                 {"$objects", objects_}})
        .toBinary();
  }
  Plist objects_ = Plist::stringArray({"$null"});
  uint64_t arrayClass_ = addClass("NSArray");  // kArrayClass
  uint64_t noteClass_ = 0;
};

// Refused both as notes and as a property list, one of the errors naming `reason`.
void expectRejected(const std::vector<uint8_t>& bytes, const std::string& reason) {
  std::string asNotes, asList;
  EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Note>(bytes, &asNotes)) << reason;
  EXPECT_FALSE(KeyedUnarchiver::unarchivePropertyList(bytes, &asList)) << reason;
  EXPECT_NE((asNotes + "|" + asList).find(reason), std::string::npos) << asNotes << "|" << asList;
}

TEST(HostileArchiveTest, ReferencesOutOfRangeAndCycles) {
  ArchiveBuilder b;
  expectRejected(b.bytes(99), "out of range");
  expectRejected(b.bytes(b.array({1000000})), "out of range");
  expectRejected(b.bytes(b.array({b.add(b.note(77))})), "out of range");
  uint64_t self = b.add(arrayObject({b.next()}));
  expectRejected(b.bytes(self), "contains itself");
  Plist looped = b.note(0);
  looped.set("child", Plist::uid(b.next()));
  expectRejected(b.bytes(b.array({b.add(looped)})), "contains itself");
}

TEST(HostileArchiveTest, DeepNestingAndExpandingGraphs) {
  // `levels` arrays, each holding `fanOut` references to the one below.
  auto nested = [](size_t levels, size_t fanOut) {
    ArchiveBuilder b;
    uint64_t inner = b.add(Plist::string("bottom"));
    for (size_t i = 0; i < levels; ++i) inner = b.array(Uids(fanOut, inner));
    return b.bytes(inner);
  };
  expectRejected(nested(60, 2), "too many times");  // 2^60 paths through 60 objects
  EXPECT_TRUE(KeyedUnarchiver::unarchivePropertyList(nested(KeyedUnarchiver::kMaxDepth, 1)));
  expectRejected(nested(KeyedUnarchiver::kMaxDepth + 1, 1), "too deeply");
}

TEST(HostileArchiveTest, WrongTypes) {
  ArchiveBuilder b;
  uint64_t text = b.add(Plist::string("x"));
  auto strings = b.bytes(b.array({text}));
  EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Note>(strings)) << "strings where notes belong";
  EXPECT_TRUE(KeyedUnarchiver::unarchivePropertyList(strings));

  const std::pair<const char*, Plist> objects[] = {
      {"not a string", arrayObject({b.add(b.note(b.add(Plist::integer(5))))})},
      {"not a string", arrayObject({b.add(b.note(b.array({})))})},
      {"", dict({{"NS.objects", Plist::stringArray({"x"})}, {"$class", Plist::uid(kArrayClass)}})},
      {"without a class", dict({{"NS.objects", refs({})}})},
      {"", arrayObject({}, text)},
      {"non-string", arrayObject({}, b.add(dict({{"$classname", Plist::string("NSArray")},
                                                 {"$classes", refs({1})}})))},
      {"", arrayObject({}, b.addClass("Unknown"))},
      {"", dict({{"NS.objects", Plist::uid(1)}, {"$class", Plist::uid(kArrayClass)}})},
  };
  for (const auto& [reason, object] : objects) expectRejected(b.bytes(b.add(object)), reason);

  // Dictionaries: key counts differ, a key that is not a string, a nil value; then a good one.
  uint64_t cls = b.addClass("NSDictionary"), k = b.add(Plist::string("k")),
           n = b.add(Plist::integer(1));
  const std::tuple<Uids, Uids, bool> dictionaries[] = {
      {{k}, {}, false}, {{n}, {n}, false}, {{k}, {0}, false}, {{k}, {n}, true}};
  for (const auto& [keys, values, accepted] : dictionaries) {
    uint64_t d = b.add(
        dict({{"NS.keys", refs(keys)}, {"NS.objects", refs(values)}, {"$class", Plist::uid(cls)}}));
    EXPECT_EQ(KeyedUnarchiver::unarchivePropertyList(b.bytes(d)).has_value(), accepted);
  }
}

// Dates whose time would not fit a Date are refused, not wrapped around into other dates.
TEST(HostileArchiveTest, DatesOutOfRange) {
  const std::pair<double, bool> cases[] = {{0, true},      {3e8, true},    {-3e8, true},
                                           {1e10, false},  {-2e10, false}, {9.3e9, false},
                                           {1e300, false}, {1e19, false}};
  for (const auto& [secondsSince2001, accepted] : cases) {
    ArchiveBuilder b;
    uint64_t date = b.add(dict({{"NS.time", Plist::real(secondsSince2001)},
                                {"$class", Plist::uid(b.addClass("NSDate"))}}));
    std::string error;
    auto decoded = KeyedUnarchiver::unarchivePropertyList(b.bytes(date), &error);
    EXPECT_EQ(error.find("out of range") != std::string::npos, !accepted) << error;
    if (accepted) {
      auto expected = store::Date(std::chrono::seconds(978307200 + int64_t(secondsSince2001)));
      EXPECT_EQ(decoded.value().view().asDate(), expected);
    }
  }
}

// Other top keys may come before the root, and name other objects.
TEST(HostileArchiveTest, TopKeysInAnyOrder) {
  auto bytes =
      dict({{"$top", dict({{"z", Plist::uid(2)}, {"root", Plist::uid(1)}, {"a", Plist::uid(0)}})},
            {"$objects", Plist::stringArray({"$null", "first", "second"})},
            {"$archiver", Plist::string("NSKeyedArchiver")},
            {"$version", Plist::integer(100000)}})
          .toBinary();
  EXPECT_EQ(KeyedUnarchiver::unarchiveString(bytes), "first");
  auto coder = KeyedUnarchiver::open(bytes);
  ASSERT_TRUE(coder);
  EXPECT_EQ(coder->decodeStringForKey("z"), "second");
  EXPECT_EQ(coder->decodeStringForKey("a"), std::nullopt);
  EXPECT_FALSE(coder->failed());
}

TEST(HostileArchiveTest, BrokenOuterLayout) {
  Plist good = dict({{"$archiver", Plist::string("NSKeyedArchiver")},
                     {"$top", Plist::dictionary()},
                     {"$objects", Plist::stringArray({"$null"})}});
  EXPECT_TRUE(KeyedUnarchiver::open(good.toBinary()));
  for (auto [key, value] : {std::pair{"$archiver", Plist::string("Other")},
                            {"$objects", Plist::array()},
                            {"$top", Plist::array()}}) {
    Plist broken = good;
    broken.set(key, value);
    std::string error;
    EXPECT_FALSE(KeyedUnarchiver::open(broken.toBinary(), &error)) << key;
    EXPECT_FALSE(error.empty()) << key;
  }
  EXPECT_FALSE(KeyedUnarchiver::open(Plist::array().toBinary()));
}

// Damaged and cut copies of a real archive: every outcome is a value or a clear failure.
TEST(HostileArchiveTest, DamagedBytesNeverCrash) {
  auto note = std::make_shared<Note>();
  note->text = "text";
  note->child = std::make_shared<Note>();
  note->children = {std::make_shared<Note>(), note->child};
  auto good = store::KeyedArchiver::archivedDataWithRootObject(std::vector{note, note});
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    auto bytes = good;
    for (int i = 0; i < 1 + int(random() % 4); ++i) bytes[random() % bytes.size()] = random();
    std::string error;
    EXPECT_TRUE(KeyedUnarchiver::unarchiveArray<Note>(bytes, &error) || !error.empty());
    KeyedUnarchiver::unarchivePropertyList(bytes);
  }
  for (size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Note>(std::span(good).first(cut)));
}

}  // namespace
