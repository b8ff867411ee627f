#include "platform/store/Plist.h"

#include <gtest/gtest.h>

using store::Plist;

namespace {

Plist everyKind() {
  Plist inner = Plist::array();
  const uint8_t bytes[] = {0, 1, 2, 255};
  const auto when = store::Date(std::chrono::seconds(1323113400)) + std::chrono::microseconds(250);
  for (Plist item : {Plist::string("Tiếng Việt"), Plist::integer(-5), Plist::integer(INT64_MAX),
                     Plist::boolean(true), Plist::real(2.5), Plist::data(bytes), Plist::data({}),
                     Plist::date(when)})
    inner.append(item);
  Plist root = Plist::dictionary();
  root.set("list", inner);
  root.set("empty", Plist::dictionary());
  root.set("uid", Plist::uid(7));
  return root;
}

TEST(PlistTest, EveryKindSurvivesBinaryAndXml) {
  Plist original = everyKind();
  // Equal to the last microsecond, dates included (the binary format keeps them as seconds).
  Plist fromBin = Plist::fromBinary(original.toBinary()).value();
  EXPECT_EQ(fromBin, original);
  auto fromXml = Plist::fromXml(original.toXml());
  ASSERT_TRUE(fromXml);
  EXPECT_EQ(fromXml->view().get("list").at(0).asString(), "Tiếng Việt");
  EXPECT_EQ(Plist::fromBytes(original.toBinary()), original);
}

// Accessors of the wrong type are absent; setting a key again replaces its value in place; copies
// do not share their contents.
TEST(PlistTest, AccessingReplacingAndCopying) {
  Plist s = Plist::string("x");
  EXPECT_FALSE(s.view().asInteger());
  EXPECT_FALSE(s.view().at(0));
  EXPECT_EQ(s.view().get("k").type(), store::PlistType::None);
  Plist d = Plist::dictionary();
  d.set("z", Plist::integer(1));
  d.set("a", Plist::integer(2));
  Plist copy = d;
  d.set("z", Plist::integer(3));
  d.remove("a");
  auto entries = d.view().entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].second.asInteger(), 3);
  EXPECT_EQ(copy.view().get("z").asInteger(), 1);
  EXPECT_EQ(copy.view().size(), 2u);
}

TEST(PlistTest, GarbageIsAnErrorNotAValue) {
  std::string error;
  const std::string junk = "bplist00 not really";
  EXPECT_FALSE(
      Plist::fromBinary({reinterpret_cast<const uint8_t*>(junk.data()), junk.size()}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(Plist::fromXml("<<<", &error));

  auto bytes = everyKind().toBinary();
  for (size_t cut = 0; cut < bytes.size(); cut += 3)
    EXPECT_FALSE(Plist::fromBinary({bytes.data(), cut})) << "prefix of " << cut << " bytes";
}

// Text that libplist could not hand out or write back is refused with the list.
TEST(PlistTest, TextThatCannotBeSavedIsRefused) {
  // {"a\0b": "c\0d"} with UTF-16 texts: libplist would abort when asked for the key.
  const std::string nul(
      "bplist00\xd1\x01\x02\x63\x00\x61\x00\x00\x00\x62\x63\x00\x63\x00\x00\x00\x64\x08\x0b\x12"
      "\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x19",
      60);
  // {"k": "gia\x9evang"}: an ASCII-typed text holding a byte that is not UTF-8, which would be
  // cut to "gia" when written back.
  const std::string notUtf8(
      "bplist00\xd1\x01\x02\x51\x6b\x58gia\x9evang\x08\x0b\x0d"
      "\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x16",
      57);
  const std::pair<std::string, const char*> cases[] = {
      {nul, "NUL"}, {notUtf8, "UTF-8"}, {Plist::stringArray({"gia\x9evang"}).toXml(), "UTF-8"}};
  for (const auto& [text, reason] : cases) {
    std::string error;
    EXPECT_FALSE(
        Plist::fromBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, &error))
        << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
}

}  // namespace
