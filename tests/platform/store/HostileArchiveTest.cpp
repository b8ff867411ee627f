#include <gtest/gtest.h>

#include <random>

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "tests/platform/store/Note.h"

using store::KeyedArchiver;
using store::KeyedUnarchiver;
using store::Plist;

namespace {

// Builds archives object by object, the way a hostile file might be laid out.
class ArchiveBuilder {
 public:
  ArchiveBuilder() : objects_(Plist::array()) { objects_.append(Plist::string("$null")); }

  uint64_t add(Plist object) {
    objects_.append(std::move(object));
    return objects_.view().size() - 1;
  }
  uint64_t addClass(const std::string& name) {
    Plist entry = Plist::dictionary();
    entry.set("$classname", Plist::string(name));
    entry.set("$classes", Plist::stringArray({name, "NSObject"}));
    return add(std::move(entry));
  }
  static Plist refs(const std::vector<uint64_t>& uids) {
    Plist list = Plist::array();
    for (auto uid : uids) list.append(Plist::uid(uid));
    return list;
  }
  static Plist arrayObject(const std::vector<uint64_t>& members, uint64_t classUid) {
    Plist object = Plist::dictionary();
    object.set("NS.objects", refs(members));
    object.set("$class", Plist::uid(classUid));
    return object;
  }
  // Replaces an object already added (to make references point forward or at themselves).
  void replace(uint64_t uid, Plist object) {
    plist_array_set_item(objects_.view().node(), plist_copy(object.view().node()),
                         static_cast<uint32_t>(uid));
  }
  std::vector<uint8_t> bytes(uint64_t root) const {
    Plist top = Plist::dictionary();
    top.set("root", Plist::uid(root));
    Plist archive = Plist::dictionary();
    archive.set("$archiver", Plist::string("NSKeyedArchiver"));
    archive.set("$version", Plist::integer(100000));
    archive.set("$top", top);
    archive.set("$objects", objects_);
    return archive.toBinary();
  }

 private:
  Plist objects_;
};

void expectRejected(const std::vector<uint8_t>& bytes, const std::string& what) {
  std::string error;
  EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Note>(bytes, &error)) << what;
  EXPECT_FALSE(error.empty()) << what;
  EXPECT_FALSE(KeyedUnarchiver::unarchivePropertyList(bytes)) << what;
}

Plist noteObject(uint64_t classUid, uint64_t textUid) {
  Plist note = Plist::dictionary();
  note.set("text", Plist::uid(textUid));
  note.set("$class", Plist::uid(classUid));
  return note;
}

TEST(HostileArchiveTest, ReferencesOutOfRangeAndCycles) {
  ArchiveBuilder b;
  uint64_t cls = b.addClass("NSArray");
  expectRejected(b.bytes(99), "root out of range");
  expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({1000000}, cls))), "member");
  uint64_t noteClass = b.addClass("Note");
  uint64_t badText = b.add(noteObject(noteClass, 77));
  expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({badText}, cls))), "string");

  uint64_t self = b.add(Plist::dictionary());
  b.replace(self, ArchiveBuilder::arrayObject({self}, cls));
  expectRejected(b.bytes(self), "array containing itself");
  uint64_t note = b.add(Plist::dictionary());  // a note whose child is itself
  Plist looped = noteObject(noteClass, 0);
  looped.set("child", Plist::uid(note));
  b.replace(note, looped);
  expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({note}, cls))), "note cycle");
}

TEST(HostileArchiveTest, DeepNestingAndExpandingGraphs) {
  ArchiveBuilder deep;
  uint64_t cls = deep.addClass("NSArray");
  uint64_t inner = deep.add(Plist::string("bottom"));
  for (int i = 0; i < 5000; ++i) inner = deep.add(ArchiveBuilder::arrayObject({inner}, cls));
  expectRejected(deep.bytes(inner), "5000 nested arrays");

  // Each level refers twice to the one below: 2^60 paths through 60 objects.
  ArchiveBuilder wide;
  cls = wide.addClass("NSArray");
  inner = wide.add(Plist::string("leaf"));
  for (int i = 0; i < 60; ++i) inner = wide.add(ArchiveBuilder::arrayObject({inner, inner}, cls));
  expectRejected(wide.bytes(inner), "exponential graph");

  // Nesting up to the limit is fine; one more level is not.
  ArchiveBuilder ok;
  cls = ok.addClass("NSArray");
  inner = ok.add(Plist::string("bottom"));
  for (size_t i = 0; i < KeyedUnarchiver::kMaxDepth; ++i)
    inner = ok.add(ArchiveBuilder::arrayObject({inner}, cls));
  EXPECT_TRUE(KeyedUnarchiver::unarchivePropertyList(ok.bytes(inner)));
  expectRejected(ok.bytes(ok.add(ArchiveBuilder::arrayObject({inner}, cls))), "one too deep");
}

TEST(HostileArchiveTest, WrongTypes) {
  {  // an array of strings where notes belong
    ArchiveBuilder b;
    uint64_t s = b.add(Plist::string("x"));
    uint64_t cls = b.addClass("NSArray");
    auto bytes = b.bytes(b.add(ArchiveBuilder::arrayObject({s}, cls)));
    EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Note>(bytes));
    EXPECT_TRUE(KeyedUnarchiver::unarchivePropertyList(bytes));
  }
  {  // a note whose text is a number, then one whose text is an array
    for (bool number : {true, false}) {
      ArchiveBuilder b;
      uint64_t arrayClass = b.addClass("NSArray");
      uint64_t value =
          number ? b.add(Plist::integer(5)) : b.add(ArchiveBuilder::arrayObject({}, arrayClass));
      uint64_t note = b.add(noteObject(b.addClass("Note"), value));
      expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({note}, arrayClass))),
                     "text not a string");
    }
  }
  {  // members that are not references, classes that are not classes
    ArchiveBuilder b;
    uint64_t cls = b.addClass("NSArray");
    Plist inlineMember = Plist::dictionary();
    inlineMember.set("NS.objects", Plist::stringArray({"inline"}));
    inlineMember.set("$class", Plist::uid(cls));
    expectRejected(b.bytes(b.add(inlineMember)), "inline member");

    Plist noClass = Plist::dictionary();
    noClass.set("NS.objects", ArchiveBuilder::refs({}));
    expectRejected(b.bytes(b.add(noClass)), "no class");

    uint64_t notAClass = b.add(Plist::string("NSArray"));
    expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({}, notAClass))), "class is a string");
    Plist badClasses = Plist::dictionary();
    badClasses.set("$classname", Plist::string("NSArray"));
    badClasses.set("$classes", ArchiveBuilder::refs({1}));  // names that are not strings
    expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({}, b.add(badClasses)))), "$classes");

    expectRejected(b.bytes(b.add(ArchiveBuilder::arrayObject({}, b.addClass("Unknown")))), "class");
    Plist nsObjectsNotArray = Plist::dictionary();
    nsObjectsNotArray.set("NS.objects", Plist::uid(1));
    nsObjectsNotArray.set("$class", Plist::uid(cls));
    expectRejected(b.bytes(b.add(nsObjectsNotArray)), "NS.objects not an array");
  }
  {  // dictionaries: key counts differ, a key that is not a string, a nil value
    ArchiveBuilder b;
    uint64_t cls = b.addClass("NSDictionary");
    uint64_t k = b.add(Plist::string("k"));
    uint64_t n = b.add(Plist::integer(1));
    auto dict = [&](std::vector<uint64_t> keys, std::vector<uint64_t> values) {
      Plist d = Plist::dictionary();
      d.set("NS.keys", ArchiveBuilder::refs(keys));
      d.set("NS.objects", ArchiveBuilder::refs(values));
      d.set("$class", Plist::uid(cls));
      return b.add(std::move(d));
    };
    EXPECT_FALSE(KeyedUnarchiver::unarchivePropertyList(b.bytes(dict({k}, {}))));
    EXPECT_FALSE(KeyedUnarchiver::unarchivePropertyList(b.bytes(dict({n}, {n}))));
    EXPECT_FALSE(KeyedUnarchiver::unarchivePropertyList(b.bytes(dict({k}, {0}))));
    EXPECT_TRUE(KeyedUnarchiver::unarchivePropertyList(b.bytes(dict({k}, {n}))));
  }
}

// Dates whose time would not fit a Date are refused, not wrapped around into other dates.
TEST(HostileArchiveTest, DatesOutOfRange) {
  struct Case {
    double secondsSince2001;
    bool accepted;
  };
  const Case cases[] = {{0, true},      {3e8, true},    {-3e8, true},   {1e10, false},
                        {-2e10, false}, {9.3e9, false}, {1e300, false}, {1e19, false}};
  for (const Case& c : cases) {
    ArchiveBuilder b;
    Plist date = Plist::dictionary();
    date.set("NS.time", Plist::real(c.secondsSince2001));
    date.set("$class", Plist::uid(b.addClass("NSDate")));
    std::string error;
    auto decoded = KeyedUnarchiver::unarchivePropertyList(b.bytes(b.add(std::move(date))), &error);
    EXPECT_EQ(decoded.has_value(), c.accepted) << c.secondsSince2001;
    if (c.accepted) {
      auto expected = store::Date(std::chrono::seconds(978307200 + int64_t(c.secondsSince2001)));
      EXPECT_EQ(decoded->view().asDate(), expected) << c.secondsSince2001;
    } else {
      EXPECT_NE(error.find("out of range"), std::string::npos) << error;
    }
  }
}

TEST(HostileArchiveTest, BrokenOuterLayout) {
  Plist good = Plist::dictionary();
  good.set("$archiver", Plist::string("NSKeyedArchiver"));
  good.set("$top", Plist::dictionary());
  good.set("$objects", Plist::stringArray({"$null"}));
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

// Damaged copies of a real archive: every outcome is a value or a clear failure.
TEST(HostileArchiveTest, DamagedBytesNeverCrash) {
  auto note = std::make_shared<Note>();
  note->text = "text";
  note->child = std::make_shared<Note>();
  note->children = {std::make_shared<Note>(), std::make_shared<Note>()};
  auto good = KeyedArchiver::archivedDataWithRootObject(std::vector{note, note});
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    auto bytes = good;
    for (int i = 0; i < 1 + int(random() % 4); ++i) bytes[random() % bytes.size()] = random();
    std::string error;
    auto notes = KeyedUnarchiver::unarchiveArray<Note>(bytes, &error);
    EXPECT_TRUE(notes || !error.empty());
    KeyedUnarchiver::unarchivePropertyList(bytes);
  }
  for (size_t cut = 0; cut < good.size(); ++cut) {
    std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<long>(cut));
    EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Note>(prefix));
  }
}

}  // namespace
