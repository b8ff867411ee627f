#include <gtest/gtest.h>

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "reader/model/Item.h"

using store::KeyedArchiver;
using store::KeyedUnarchiver;
using store::Plist;

namespace {

ItemPtr story(const std::string& link) {
  auto item = std::make_shared<Item>();
  item->title = "Giá xăng giảm";
  item->link = link;
  item->description = "Tóm tắt";
  item->pubDate = "Tue, 6 Dec 2011 02:30:00 AM";
  item->guid = "guid-1";
  item->avatar = "http://vemo.vn/a.jpg";
  item->imgLink = "http://vemo.vn/t.jpg";
  return item;
}

bool sameFields(const Item& a, const Item& b) {
  return a.title == b.title && a.link == b.link && a.description == b.description &&
         a.pubDate == b.pubDate && a.guid == b.guid && a.avatar == b.avatar &&
         a.imgLink == b.imgLink;
}

TEST(ItemCodingTest, AbsentFieldStaysAbsent) {
  auto item = story("http://vemo.vn/1");
  item->avatar.reset();
  auto second = story("http://vemo.vn/2");
  second->title = "";
  std::string error;
  auto decoded = KeyedUnarchiver::unarchiveArray<Item>(
      KeyedArchiver::archivedDataWithRootObject(std::vector{item, second}), &error);
  ASSERT_TRUE(decoded) << error;
  ASSERT_EQ(decoded->size(), 2u);
  EXPECT_TRUE(sameFields(*(*decoded)[0], *item));
  EXPECT_FALSE((*decoded)[0]->avatar);
  EXPECT_EQ((*decoded)[1]->title, "");
}

TEST(ItemCodingTest, WritesTheSevenKeysInOrder) {
  auto item = story("http://vemo.vn/1");
  item->imgLink.reset();
  auto archive = Plist::fromBinary(KeyedArchiver::archivedDataWithRootObject(std::vector{item}));
  ASSERT_TRUE(archive);
  auto objects = archive->view().get("$objects");
  auto array = objects.at(*archive->view().get("$top").get("root").asUid());
  auto encoded = objects.at(*array.get("NS.objects").at(0).asUid());
  std::vector<std::string> keys;
  for (auto& [key, value] : encoded.entries()) keys.push_back(key);
  EXPECT_EQ(keys,
            (std::vector<std::string>{"ITEM_TITLE", "ITEM_LINK", "ITEM_DESCRIPTION", "ITEM_PUBDATE",
                                      "ITEM_GUID", "ITEM_AVATAR", "ITEM_IMGLINK", "$class"}));
  EXPECT_EQ(encoded.get("ITEM_IMGLINK").asUid(), 0u);
  auto itemClass = objects.at(*encoded.get("$class").asUid());
  EXPECT_EQ(itemClass.get("$classname").asString(), "Item");
  EXPECT_EQ(itemClass.get("$classes").at(0).asString(), "Item");
  EXPECT_EQ(itemClass.get("$classes").at(1).asString(), "NSObject");
}

// Saved stories written by an earlier installation: Apple's layout, with keys in another order,
// one key missing, class entries placed first and a string shared between two fields.
TEST(ItemCodingTest, ReadsAnArchiveFromAnEarlierInstallation) {
  Plist objects = Plist::array();
  objects.append(Plist::string("$null"));
  Plist arrayClass = Plist::dictionary();
  arrayClass.set("$classes", Plist::stringArray({"NSMutableArray", "NSArray", "NSObject"}));
  arrayClass.set("$classname", Plist::string("NSMutableArray"));
  objects.append(arrayClass);  // 1
  Plist itemClass = Plist::dictionary();
  itemClass.set("$classes", Plist::stringArray({"Item", "NSObject"}));
  itemClass.set("$classname", Plist::string("Item"));
  objects.append(itemClass);                          // 2
  objects.append(Plist::string("http://vemo.vn/x"));  // 3
  objects.append(Plist::string("Tiêu đề"));           // 4
  Plist item = Plist::dictionary();
  item.set("$class", Plist::uid(2));
  item.set("ITEM_GUID", Plist::uid(3));
  item.set("ITEM_LINK", Plist::uid(3));
  item.set("ITEM_TITLE", Plist::uid(4));
  item.set("ITEM_AVATAR", Plist::uid(0));
  objects.append(item);  // 5
  Plist array = Plist::dictionary();
  Plist refs = Plist::array();
  refs.append(Plist::uid(5));
  refs.append(Plist::uid(5));
  array.set("NS.objects", refs);
  array.set("$class", Plist::uid(1));
  objects.append(array);  // 6
  Plist top = Plist::dictionary();
  top.set("root", Plist::uid(6));
  Plist archive = Plist::dictionary();
  archive.set("$version", Plist::integer(100000));
  archive.set("$objects", objects);
  archive.set("$archiver", Plist::string("NSKeyedArchiver"));
  archive.set("$top", top);

  std::string error;
  auto decoded = KeyedUnarchiver::unarchiveArray<Item>(archive.toBinary(), &error);
  ASSERT_TRUE(decoded) << error;
  ASSERT_EQ(decoded->size(), 2u);
  const Item& first = *decoded->front();
  EXPECT_EQ(first.title, "Tiêu đề");
  EXPECT_EQ(first.link, "http://vemo.vn/x");
  EXPECT_EQ(first.guid, "http://vemo.vn/x");
  EXPECT_FALSE(first.description);
  EXPECT_FALSE(first.avatar);
  EXPECT_TRUE(sameFields(*(*decoded)[1], first));
}

TEST(ItemCodingTest, FieldOfTheWrongTypeFailsTheWholeList) {
  KeyedArchiver archiver;
  Plist wrong = Plist::dictionary();
  wrong.set("not", Plist::string("a string"));
  struct BadItem {
    Plist value;
    static std::vector<std::string> keyedClassNames() { return {"Item", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver& coder) const { coder.encodeObject(value, "ITEM_TITLE"); }
  };
  auto bad = std::make_shared<BadItem>(BadItem{wrong});
  archiver.encodeObject(std::vector{bad}, "root");
  std::string error;
  EXPECT_FALSE(KeyedUnarchiver::unarchiveArray<Item>(archiver.finishEncoding(), &error));
  EXPECT_NE(error.find("ITEM_TITLE"), std::string::npos) << error;
}

}  // namespace
