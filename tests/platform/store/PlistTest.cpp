#include "platform/store/Plist.h"

#include <gtest/gtest.h>

using store::Plist;
using store::PlistType;

namespace {

Plist everyKind() {
  Plist inner = Plist::array();
  inner.append(Plist::string("Tiếng Việt"));
  inner.append(Plist::integer(-5));
  inner.append(Plist::integer(INT64_MAX));
  inner.append(Plist::boolean(true));
  inner.append(Plist::real(2.5));
  const uint8_t bytes[] = {0, 1, 2, 255};
  inner.append(Plist::data(bytes));
  inner.append(Plist::data({}));
  inner.append(
      Plist::date(store::Date(std::chrono::seconds(1323113400)) + std::chrono::microseconds(250)));
  Plist root = Plist::dictionary();
  root.set("list", inner);
  root.set("empty", Plist::dictionary());
  root.set("uid", Plist::uid(7));
  return root;
}

TEST(PlistTest, EveryKindSurvivesBinaryAndXml) {
  Plist original = everyKind();
  auto fromBin = Plist::fromBinary(original.toBinary());
  ASSERT_TRUE(fromBin);
  EXPECT_EQ(*fromBin, original);
  auto fromXml = Plist::fromXml(original.toXml());
  ASSERT_TRUE(fromXml);
  EXPECT_EQ(fromXml->view().get("list").at(1).asInteger(), -5);
  EXPECT_EQ(fromXml->view().get("list").at(0).asString(), "Tiếng Việt");
  auto guessed = Plist::fromBytes(original.toBinary());
  ASSERT_TRUE(guessed);
  EXPECT_EQ(*guessed, original);

  auto list = fromBin->view().get("list");
  EXPECT_EQ(list.at(2).asInteger(), INT64_MAX);
  EXPECT_EQ(list.at(5).asData(), (std::vector<uint8_t>{0, 1, 2, 255}));
  EXPECT_EQ(list.at(6).asData(), std::vector<uint8_t>{});
  // The binary format keeps dates as floating-point seconds: exact to about a microsecond.
  auto when = store::Date(std::chrono::seconds(1323113400)) + std::chrono::microseconds(250);
  ASSERT_TRUE(list.at(7).asDate());
  EXPECT_LE(std::chrono::abs(*list.at(7).asDate() - when), std::chrono::microseconds(1));
  EXPECT_EQ(fromBin->view().get("uid").asUid(), 7u);
}

TEST(PlistTest, AccessorsOfTheWrongTypeAreAbsent) {
  Plist s = Plist::string("x");
  EXPECT_FALSE(s.view().asInteger());
  EXPECT_FALSE(s.view().asBool());
  EXPECT_EQ(s.view().size(), 0u);
  EXPECT_FALSE(s.view().at(0));
  EXPECT_EQ(s.view().get("k").type(), PlistType::None);
  EXPECT_FALSE(s.set("k", Plist::integer(1)));
  EXPECT_FALSE(s.append(Plist::integer(1)));
}

TEST(PlistTest, DictionariesKeepInsertionOrderAndReplaceInPlace) {
  Plist d = Plist::dictionary();
  d.set("z", Plist::integer(1));
  d.set("a", Plist::integer(2));
  d.set("z", Plist::integer(3));
  auto entries = d.view().entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].first, "z");
  EXPECT_EQ(entries[0].second.asInteger(), 3);
  EXPECT_EQ(entries[1].first, "a");
  d.remove("z");
  d.remove("missing");
  EXPECT_EQ(d.view().size(), 1u);
}

TEST(PlistTest, CopiesAreIndependent) {
  Plist a = Plist::dictionary();
  a.set("k", Plist::string("one"));
  Plist b = a;
  b.set("k", Plist::string("two"));
  EXPECT_EQ(a.view().get("k").asString(), "one");
  EXPECT_FALSE(a == b);
}

TEST(PlistTest, GarbageIsAnErrorNotAValue) {
  std::string error;
  const std::string junk = "bplist00 not really";
  EXPECT_FALSE(
      Plist::fromBinary({reinterpret_cast<const uint8_t*>(junk.data()), junk.size()}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(Plist::fromBytes({}, &error));
  EXPECT_FALSE(Plist::fromXml("<<<", &error));

  auto bytes = everyKind().toBinary();
  for (size_t cut = 0; cut < bytes.size(); cut += 3)
    EXPECT_FALSE(Plist::fromBinary({bytes.data(), cut})) << "prefix of " << cut << " bytes";
}

// Text that libplist could not hand out or write back is refused with the list.
TEST(PlistTest, TextThatCannotBeSavedIsRefused) {
  // {"a\0b": "c\0d"} with UTF-16 texts: libplist would abort when asked for the key.
  const std::vector<uint8_t> nul = {
      0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd1, 0x01, 0x02, 0x63, 0x00, 0x61, 0x00,
      0x00, 0x00, 0x62, 0x63, 0x00, 0x63, 0x00, 0x00, 0x00, 0x64, 0x08, 0x0b, 0x12, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x19};
  // {"k": "gia\x9evang"}: an ASCII-typed text holding a byte that is not UTF-8, which would be
  // cut to "gia" when written back.
  const std::vector<uint8_t> notUtf8 = {
      0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd1, 0x01, 0x02, 0x51, 0x6b, 0x58, 0x67,
      0x69, 0x61, 0x9e, 0x76, 0x61, 0x6e, 0x67, 0x08, 0x0b, 0x0d, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x16};
  const std::string xml = Plist::stringArray({"gia\x9evang"}).toXml();
  const std::vector<uint8_t> notUtf8Xml(xml.begin(), xml.end());
  const struct {
    const std::vector<uint8_t>& bytes;
    const char* reason;
  } cases[] = {{nul, "NUL"}, {notUtf8, "UTF-8"}, {notUtf8Xml, "UTF-8"}};
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(Plist::fromBytes(c.bytes, &error)) << c.reason;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

}  // namespace
