#include <gtest/gtest.h>

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "tests/platform/store/Note.h"
#include "tests/support/TempDir.h"

using store::KeyedArchiver;
using store::KeyedUnarchiver;
using store::Plist;
using store::PlistView;

namespace {

// The object a reference in `archive` names.
PlistView deref(const Plist& archive, PlistView ref) {
  return archive.view().get("$objects").at(ref.asUid().value_or(0));
}

std::shared_ptr<Note> sampleNote() {
  auto note = std::make_shared<Note>(), child = std::make_shared<Note>();
  std::tie(note->text, note->count, note->flag, note->weight) =
      std::tuple("Giá vàng", -42, true, 0.25);
  child->text = "child";
  note->child = child;
  note->children = {child, std::make_shared<Note>(), child};
  note->extra = Plist::dictionary();
  note->extra->set("when", Plist::date(store::Date(std::chrono::seconds(1300000000))));
  note->extra->set("list", Plist::stringArray({"x", "y"}));
  return note;
}

TEST(KeyedArchiveTest, ObjectGraphRoundTrips) {
  auto original = sampleNote();
  auto bytes = KeyedArchiver::archivedDataWithRootObject(std::vector{original});
  std::string error;
  auto decoded = KeyedUnarchiver::unarchiveArray<Note>(bytes, &error);
  ASSERT_TRUE(decoded && decoded->size() == 1) << error;
  const Note& note = *decoded->front();
  EXPECT_EQ(note.text, "Giá vàng");
  EXPECT_FALSE(note.missing);
  EXPECT_EQ(std::tuple(note.count, note.flag, note.weight), std::tuple(-42, true, 0.25));
  ASSERT_TRUE(note.child && note.children.size() == 3);
  EXPECT_EQ(note.child->text, "child");
  EXPECT_EQ(note.children[2]->text, "child");
  EXPECT_EQ(note.extra, original->extra);
}

TEST(KeyedArchiveTest, LayoutIsApplesKeyedArchiverLayout) {
  auto note = std::make_shared<Note>(), other = std::make_shared<Note>();
  note->text = other->text = "same";
  Plist archive =
      *Plist::fromBinary(KeyedArchiver::archivedDataWithRootObject(std::vector{note, other}));
  PlistView a = archive.view();
  EXPECT_EQ(
      std::pair(a.get("$archiver").asString(), a.get("$version").asInteger()),
      std::pair(std::optional<std::string>("NSKeyedArchiver"), std::optional<int64_t>(100000)));
  PlistView array = deref(archive, a.get("$top").get("root"));
  EXPECT_EQ(deref(archive, array.get("$class")).get("$classname").asString(), "NSMutableArray");
  PlistView first = deref(archive, array.get("NS.objects").at(0));
  PlistView second = deref(archive, array.get("NS.objects").at(1));
  // Equal strings and equal classes are stored once; absent strings and null objects refer to
  // "$null"; the class entry follows the object's members.
  EXPECT_EQ(first.get("text").asUid(), second.get("text").asUid());
  EXPECT_EQ(first.get("$class").asUid(), second.get("$class").asUid());
  EXPECT_EQ(a.get("$objects").at(0).asString(), "$null");
  EXPECT_EQ(first.get("missing").asUid(), 0u);
  EXPECT_EQ(first.get("child").asUid(), 0u);
  EXPECT_GT(first.get("$class").asUid(), first.get("text").asUid());
}

TEST(KeyedArchiveTest, StringAndPropertyListRoots) {
  auto bytes = KeyedArchiver::archivedDataWithRootObject(std::string("grid"));
  EXPECT_EQ(KeyedUnarchiver::unarchiveString(bytes), "grid");

  Plist value = Plist::dictionary();
  value.set("n", Plist::integer(3));
  value.set("nested", Plist::stringArray({"p", "q"}));
  auto decoded =
      KeyedUnarchiver::unarchivePropertyList(KeyedArchiver::archivedDataWithRootObject(value));
  EXPECT_EQ(decoded, value);

  auto nilRoot = KeyedArchiver::archivedDataWithRootObject(std::optional<std::string>());
  EXPECT_FALSE(KeyedUnarchiver::unarchiveString(nilRoot));
  // An array of notes is not a string.
  EXPECT_FALSE(KeyedUnarchiver::unarchiveString(
      KeyedArchiver::archivedDataWithRootObject(std::vector{sampleNote()})));
}

TEST(KeyedArchiveTest, DecodesApplesArchive) {
  // Made by Apple's NSKeyedArchiver on macOS with encode(_:) (top key "$0"); one string is both
  // a key and a value, and class entries follow their objects' members.
  std::string error;
  std::string file = testing_support::readFile(STORE_TEST_DATA "/apple_dict.bin");
  auto coder = KeyedUnarchiver::open(std::vector<uint8_t>(file.begin(), file.end()), &error);
  ASSERT_TRUE(coder) << error;
  auto value = coder->decodePropertyListForKey("$0");
  ASSERT_TRUE(coder->finish(&error) && value) << error;
  EXPECT_EQ(value->toXml(), Plist::fromXml(R"(<plist version="1.0"><dict>
    <key>int</key><integer>1</integer><key>string</key><string>string</string>
    <key>array</key><array><true/><string>Hello, World!</string><integer>42</integer></array>
    </dict></plist>)")
                                ->toXml());
}

}  // namespace
