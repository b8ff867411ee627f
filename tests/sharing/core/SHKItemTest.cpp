#include "sharing/core/SHKItem.h"

#include <gtest/gtest.h>

#include <set>

using store::Plist;
using Keys = std::set<std::string>;

namespace {

Keys keysOf(const Plist& dict) {
  Keys keys;
  for (const auto& [key, value] : dict.view().entries()) keys.insert(key);
  return keys;
}

// Through the binary form, as the offline queue stores it.
std::shared_ptr<SHKItem> throughDisk(const SHKItem& item) {
  auto parsed = Plist::fromBinary(item.dictionaryRepresentation().toBinary());
  EXPECT_TRUE(parsed);
  return SHKItem::itemFromDictionary(parsed->view());
}

// Only the text "1" turns a switch on.
TEST(SHKItemTest, CustomSwitches) {
  SHKItem item;
  for (const auto& value : {Plist::string("yes"), Plist::string("1 "), Plist::integer(1),
                            Plist::boolean(true), Plist::string("1")}) {
    item.setCustomValue(value, "switch");
    EXPECT_EQ(item.customBoolForSwitchKey("switch"), value.toXml() == Plist::string("1").toXml());
  }
}

// What is stored, and what comes back through the disk: pictures and file bytes stay behind.
TEST(SHKItemTest, StoredKeysAndWhatComesBack) {
  EXPECT_EQ(keysOf(SHKItem::text("Tin mới")->dictionaryRepresentation()),
            (Keys{"shareType", "text"}));
  auto link = SHKItem::URL(*net::Url::parse("http://vemo.vn/a"), "Tiêu đề");
  link->setTags("a b");
  link->setCustomValue("1", "shorten");
  EXPECT_EQ(keysOf(link->dictionaryRepresentation()),
            (Keys{"shareType", "URL", "title", "tags", "custom"}));
  auto back = throughDisk(*link);
  EXPECT_EQ(back->shareType(), SHKShareTypeURL);
  EXPECT_EQ(*back->title() + "|" + *back->tags(), "Tiêu đề|a b");
  EXPECT_TRUE(back->customBoolForSwitchKey("shorten"));

  auto image = SHKItem::image(graphics::Image::filled({2, 2}, graphics::Color::black()), "Ảnh");
  auto imageBack = throughDisk(*image);
  EXPECT_EQ(imageBack->shareType(), SHKShareTypeImage);
  EXPECT_FALSE(imageBack->image());
  auto fileBack = throughDisk(*SHKItem::file({1, 2, 3}, "a.pdf", "application/pdf"));
  EXPECT_EQ(fileBack->shareType(), SHKShareTypeFile);
  EXPECT_FALSE(fileBack->data() || fileBack->filename());
}

// Addresses are stored with their escapes decoded, bytes that are not text kept escaped; they
// must still come back as links.
TEST(SHKItemTest, StoredAddressesParseBack) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://vemo.vn/a%20b.html", "http://vemo.vn/a b.html"},
      {"http://vemo.vn/Vi%E1%BB%87t?q=%C4%91", "http://vemo.vn/Việt?q=đ"},
      {"http://vemo.vn/%FF%00", "http://vemo.vn/%FF%00"}};
  for (const auto& [address, stored] : cases) {
    auto item = SHKItem::URL(*net::Url::parse(address));
    EXPECT_EQ(item->dictionaryRepresentation().view().get("URL").asString(), stored);
    EXPECT_EQ(throughDisk(*item)->url(), net::Url::parse(address)) << address;
  }
}

TEST(SHKItemTest, WrongTypesGiveWhatIsUsable) {
  const std::pair<Plist, int32_t> cases[] = {
      {Plist::string("2"), 2}, {Plist::string(" 3 items"), 3}, {Plist::string("text"), 0},
      {Plist::real(4.7), 4},   {Plist::integer(INT64_MAX), 0}, {Plist::string("99999999999"), 0},
      {Plist::array(), 0},     {Plist::boolean(true), 1}};
  for (const auto& [shareType, expected] : cases) {
    Plist dict = Plist::dictionary();
    dict.set("shareType", shareType);
    dict.set("custom", Plist::stringArray({"1"}));
    dict.set("URL", Plist::integer(5));
    dict.set("text", Plist::string("ok"));
    dict.set("tags", Plist::data({}));
    dict.set("title", Plist::string("\x8f"));
    dict.set(std::string("cus\0tom", 7), Plist::string("x"));
    auto item = SHKItem::itemFromDictionary(dict.view());
    EXPECT_EQ(item->shareType(), expected) << shareType.toXml();
    EXPECT_FALSE(item->custom() || item->url() || item->title() || item->tags());
    EXPECT_EQ(item->text(), "ok");
  }
  // Custom values that could not be stored again are dropped, the rest kept.
  Plist custom = Plist::dictionary();
  custom.set("shorten", Plist::string("1"));
  custom.set("count", Plist::integer(3));
  custom.set("bad\x82key", Plist::string("1"));
  custom.set("badValue", Plist::string("\x82"));
  custom.set("nested", Plist::stringArray({"\x82"}));
  Plist dict = Plist::dictionary();
  dict.set("custom", custom);
  EXPECT_EQ(keysOf(*SHKItem::itemFromDictionary(dict.view())->custom()),
            (Keys{"shorten", "count"}));
  EXPECT_EQ(SHKItem::itemFromDictionary(Plist::array().view())->shareType(), 0);
  EXPECT_EQ(SHKItem::itemFromDictionary({})->shareType(), 0);
}

}  // namespace
