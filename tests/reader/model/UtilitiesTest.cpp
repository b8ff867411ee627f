#include "reader/model/Utilities.h"

#include <gtest/gtest.h>

#include "platform/base/Log.h"
#include "platform/store/KeyedArchiver.h"
#include "platform/store/KeyedUnarchiver.h"
#include "platform/store/UserDefaults.h"
#include "tests/support/Stories.h"
#include "tests/support/TempDir.h"

using store::Plist;
using store::UserDefaults;
using testing_support::storyAt;
using testing_support::TempDir;

namespace {

std::vector<std::string> keysOf(const UserDefaults& defaults) {
  std::vector<std::string> keys;
  for (auto& [key, value] : defaults.dictionaryRepresentation().view().entries())
    keys.push_back(key);
  return keys;
}

// The style starts as "grid", stored as an archived string; no saved stories are written.
TEST(UtilitiesTest, StyleStartsAsGridAndIsStored) {
  TempDir dir;
  EXPECT_EQ(Utilities().getStyleView(), "grid");
  EXPECT_EQ(store::KeyedUnarchiver::unarchiveString(
                UserDefaults::standard().dataForKey("STYLE_VIEW").value_or(std::vector<uint8_t>{})),
            "grid");
  EXPECT_FALSE(UserDefaults::standard().objectForKey("BOOKMARK_ITEM"));
  EXPECT_TRUE(Utilities().setStyleView("list"));
  UserDefaults reopened(UserDefaults::standard().path());
  EXPECT_EQ(Utilities(reopened).getStyleView(), "list");
}

TEST(UtilitiesTest, SavedStoriesKeepOrderAndDuplicates) {
  TempDir dir;
  Utilities utilities;
  EXPECT_TRUE(
      utilities.setBookmarkItem({storyAt("http://vemo.vn/b", "B"), storyAt("http://vemo.vn/a", "A"),
                                 storyAt("http://vemo.vn/a", "A again")}));
  UserDefaults reopened(UserDefaults::standard().path());
  auto saved = Utilities(reopened).getBookmarkItem();
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0]->title, "B");
  EXPECT_EQ(saved[1]->link, "http://vemo.vn/a");
  EXPECT_EQ(saved[2]->title, "A again");
  // Each read is a fresh list the caller owns.
  EXPECT_NE(utilities.getBookmarkItem()[0], utilities.getBookmarkItem()[0]);
  EXPECT_TRUE(utilities.setBookmarkItem({}));
  EXPECT_TRUE(utilities.getBookmarkItem().empty());
}

TEST(UtilitiesTest, UnreadableSavedStoriesAreKeptAside) {
  TempDir dir;
  UserDefaults& defaults = UserDefaults::standard();
  const std::vector<uint8_t> damaged = {'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xff, 0x01};
  defaults.setData(damaged, "BOOKMARK_ITEM");
  base::LogCapture log;
  Utilities utilities;
  EXPECT_TRUE(utilities.getBookmarkItem().empty());
  EXPECT_EQ(defaults.dataForKey("BOOKMARK_ITEM"), damaged) << "reading changes nothing";

  EXPECT_TRUE(utilities.setBookmarkItem({storyAt("http://vemo.vn/new")}));
  EXPECT_EQ(utilities.getBookmarkItem().size(), 1u);
  auto keys = keysOf(defaults);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_TRUE(keys[1].starts_with("BOOKMARK_ITEM.corrupt-")) << keys[1];
  EXPECT_EQ(defaults.dataForKey(keys[1]), damaged);
  EXPECT_TRUE(log.contains("BOOKMARK_ITEM UNREADABLE, KEPT AS " + keys[1]));

  // A readable list is simply replaced.
  EXPECT_TRUE(utilities.setBookmarkItem({}));
  EXPECT_EQ(keysOf(defaults).size(), 2u);
}

TEST(UtilitiesTest, UnreadableStyleReadsAsGridAndIsKeptAside) {
  TempDir dir;
  UserDefaults& defaults = UserDefaults::standard();
  // The right archive under the wrong type: an array of stories is not a style.
  auto wrong = store::KeyedArchiver::archivedDataWithRootObject(std::vector{storyAt("x")});
  defaults.setData(wrong, "STYLE_VIEW");
  Utilities utilities;
  EXPECT_EQ(utilities.getStyleView(), "grid");
  EXPECT_EQ(defaults.dataForKey("STYLE_VIEW"), wrong);
  // A plain string is not an archive either; it is kept too when the style is set.
  defaults.setString("list", "STYLE_VIEW");
  EXPECT_EQ(utilities.getStyleView(), "grid");
  EXPECT_TRUE(utilities.setStyleView("list"));
  EXPECT_EQ(utilities.getStyleView(), "list");
  auto keys = keysOf(defaults);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(defaults.stringForKey(keys[1]), "list");
}

}  // namespace
