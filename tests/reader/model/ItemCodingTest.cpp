#include <gtest/gtest.h>

#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "reader/model/Item.h"

namespace {

// Every field comes back; an absent one stays absent and an empty one empty. Stored files of
// earlier installations name the keys and the class so.
TEST(ItemCodingTest, FieldsRoundTripUnderTheSevenKeys) {
  auto item = std::make_shared<Item>(
      Item{"Giá xăng", "http://vemo.vn/1", "Tóm tắt", "Tue, 6 Dec 2011", "g-1", std::nullopt, ""});
  const auto bytes = store::KeyedArchiver::archivedDataWithRootObject(std::vector{item});
  std::string error;
  auto decoded = store::KeyedUnarchiver::unarchiveArray<Item>(bytes, &error);
  ASSERT_TRUE(decoded && decoded->size() == 1) << error;
  const Item& a = *decoded->front();
  EXPECT_EQ(std::tie(a.title, a.link, a.description, a.pubDate, a.guid, a.avatar, a.imgLink),
            std::tie(item->title, item->link, item->description, item->pubDate, item->guid,
                     item->avatar, item->imgLink));

  const std::string raw(bytes.begin(), bytes.end());
  for (const char* name : {"ITEM_TITLE", "ITEM_LINK", "ITEM_DESCRIPTION", "ITEM_PUBDATE",
                           "ITEM_GUID", "ITEM_AVATAR", "ITEM_IMGLINK", "Item", "NSObject"})
    EXPECT_NE(raw.find(name), std::string::npos) << name;
}

}  // namespace
