#include "sharing/core/SHKItem.h"

#include <gtest/gtest.h>

#include <set>

using store::Plist;

namespace {

std::set<std::string> keysOf(const Plist& dict) {
  std::set<std::string> keys;
  for (const auto& [key, value] : dict.view().entries()) keys.insert(key);
  return keys;
}

// Through the binary form, as the offline queue stores it.
std::shared_ptr<SHKItem> throughDisk(const SHKItem& item) {
  auto parsed = Plist::fromBinary(item.dictionaryRepresentation().toBinary());
  EXPECT_TRUE(parsed);
  return SHKItem::itemFromDictionary(parsed->view());
}

TEST(SHKItemTest, CustomValues) {
  SHKItem item;
  EXPECT_EQ(item.shareType(), SHKShareTypeUndefined);
  EXPECT_FALSE(item.customValueForKey("any"));
  item.setCustomValue(std::nullopt, "any");
  ASSERT_TRUE(item.custom());
  EXPECT_EQ(item.custom()->view().size(), 0u);

  struct Case {
    std::optional<Plist> value;
    bool on;
  };
  const Case cases[] = {{Plist::string("1"), true},    {Plist::string("0"), false},
                        {Plist::string("yes"), false}, {Plist::string("true"), false},
                        {Plist::string("1 "), false},  {Plist::integer(1), false},
                        {Plist::boolean(true), false}, {std::nullopt, false}};
  for (const auto& c : cases) {
    item.setCustomValue(c.value, "switch");
    EXPECT_EQ(item.customBoolForSwitchKey("switch"), c.on)
        << (c.value ? c.value->toXml() : "absent");
  }
  EXPECT_FALSE(SHKItem().customBoolForSwitchKey("switch"));
}

TEST(SHKItemTest, DictionaryKeySets) {
  auto text = SHKItem::text("Tin mới");
  EXPECT_EQ(keysOf(text->dictionaryRepresentation()), (std::set<std::string>{"shareType", "text"}));

  auto link = SHKItem::URL(*net::Url::parse("http://vemo.vn/a"), "Tiêu đề");
  link->setTags("a b");
  link->setCustomValue("1", "shorten");
  EXPECT_EQ(keysOf(link->dictionaryRepresentation()),
            (std::set<std::string>{"shareType", "URL", "title", "tags", "custom"}));
  auto back = throughDisk(*link);
  EXPECT_EQ(back->shareType(), SHKShareTypeURL);
  EXPECT_EQ(back->url()->absoluteString(), "http://vemo.vn/a");
  EXPECT_EQ(back->title(), "Tiêu đề");
  EXPECT_EQ(back->tags(), "a b");
  EXPECT_FALSE(back->text());
  EXPECT_TRUE(back->customBoolForSwitchKey("shorten"));

  auto image = SHKItem::image(nullptr, "Ảnh");
  image->setImage(graphics::Image::filled({2, 2}, graphics::Color::black()));
  auto imageBack = throughDisk(*image);
  EXPECT_EQ(imageBack->shareType(), SHKShareTypeImage);
  EXPECT_FALSE(imageBack->image());
  EXPECT_EQ(imageBack->title(), "Ảnh");

  auto file = SHKItem::file({1, 2, 3}, "a.pdf", "application/pdf");
  auto fileBack = throughDisk(*file);
  EXPECT_EQ(fileBack->shareType(), SHKShareTypeFile);
  EXPECT_FALSE(fileBack->data());
  EXPECT_FALSE(fileBack->filename());
}

// Addresses are stored with their escapes decoded; they must still come back as links.
TEST(SHKItemTest, StoredAddressesParseBack) {
  struct Case {
    const char* address;
    const char* stored;
    const char* back;
  };
  const Case cases[] = {
      {"http://vemo.vn/a%20b.html", "http://vemo.vn/a b.html", "http://vemo.vn/a%20b.html"},
      {"http://vemo.vn/Vi%E1%BB%87t?q=%C4%91", "http://vemo.vn/Việt?q=đ",
       "http://vemo.vn/Vi%E1%BB%87t?q=%C4%91"},
      {"http://vemo.vn/plain?a=1&b=2", "http://vemo.vn/plain?a=1&b=2",
       "http://vemo.vn/plain?a=1&b=2"},
      // Bytes that do not decode to text are kept escaped.
      {"http://vemo.vn/%FF%00", "http://vemo.vn/%FF%00", "http://vemo.vn/%FF%00"},
  };
  for (const auto& c : cases) {
    auto item = SHKItem::URL(*net::Url::parse(c.address));
    EXPECT_EQ(item->dictionaryRepresentation().view().get("URL").asString(), c.stored);
    auto back = throughDisk(*item);
    ASSERT_TRUE(back->url()) << c.address;
    EXPECT_EQ(back->url()->absoluteString(), c.back);
  }
}

TEST(SHKItemTest, WrongTypesGiveWhatIsUsable) {
  struct Case {
    Plist shareType;
    int32_t expected;
  };
  const Case cases[] = {
      {Plist::string("2"), 2}, {Plist::string(" 3 items"), 3}, {Plist::string("text"), 0},
      {Plist::real(4.7), 4},   {Plist::integer(INT64_MAX), 0}, {Plist::string("99999999999"), 0},
      {Plist::array(), 0},     {Plist::boolean(true), 1}};
  for (const auto& c : cases) {
    Plist dict = Plist::dictionary();
    dict.set("shareType", c.shareType);
    dict.set("custom", Plist::stringArray({"1"}));
    dict.set("URL", Plist::integer(5));
    dict.set("text", Plist::string("ok"));
    dict.set("tags", Plist::data({}));
    dict.set("title", Plist::string("\x8f"));
    std::string nulKey("cus\0tom", 7);
    dict.set(nulKey, Plist::string("x"));
    auto item = SHKItem::itemFromDictionary(dict.view());
    EXPECT_EQ(item->shareType(), c.expected) << c.shareType.toXml();
    EXPECT_FALSE(item->custom());
    EXPECT_FALSE(item->url());
    EXPECT_FALSE(item->title());
    EXPECT_EQ(item->text(), "ok");
    EXPECT_FALSE(item->tags());
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
  auto item = SHKItem::itemFromDictionary(dict.view());
  EXPECT_EQ(keysOf(*item->custom()), (std::set<std::string>{"shorten", "count"}));

  EXPECT_EQ(SHKItem::itemFromDictionary(Plist::array().view())->shareType(), 0);
  EXPECT_EQ(SHKItem::itemFromDictionary({})->shareType(), 0);
}

}  // namespace
