#include "reader/model/Utilities.h"

#include <gtest/gtest.h>

#include "platform/base/Log.h"
#include "platform/store/KeyedUnarchiver.h"
#include "platform/store/UserDefaults.h"
#include "tests/support/Stories.h"
#include "tests/support/TempDir.h"

using store::UserDefaults;
using testing_support::storyAt;

namespace {

class UtilitiesTest : public ::testing::Test {
 protected:
  // The keys stored, the aside copies after the list or style they were kept for.
  std::vector<std::string> keys() const {
    std::vector<std::string> result;
    for (auto& [key, value] : defaults_.dictionaryRepresentation().view().entries())
      result.push_back(key);
    return result;
  }
  testing_support::TempDir dir_;
  UserDefaults& defaults_ = UserDefaults::standard();
  Utilities utilities_;
};

TEST_F(UtilitiesTest, UnreadableSavedStoriesAreKeptAside) {
  const std::vector<uint8_t> damaged = {'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xff, 0x01};
  defaults_.setData(damaged, "BOOKMARK_ITEM");
  base::LogCapture log;
  EXPECT_TRUE(utilities_.getBookmarkItem().empty());
  EXPECT_EQ(defaults_.dataForKey("BOOKMARK_ITEM"), damaged) << "reading changes nothing";

  EXPECT_TRUE(utilities_.setBookmarkItem({storyAt("http://vemo.vn/new")}));
  ASSERT_EQ(keys().size(), 2u);
  const std::string aside = keys()[1];
  EXPECT_TRUE(aside.starts_with("BOOKMARK_ITEM.corrupt-")) << aside;
  EXPECT_EQ(defaults_.dataForKey(aside), damaged);
  EXPECT_TRUE(log.contains("BOOKMARK_ITEM UNREADABLE, KEPT AS " + aside));
  // A readable list is simply replaced.
  EXPECT_TRUE(utilities_.setBookmarkItem({}));
  EXPECT_EQ(keys().size(), 2u);
}

// The style is stored as an archived string (no saved stories are written until some are saved).
// A plain string is no archive: the style reads as grid and the string is kept when one is set.
TEST_F(UtilitiesTest, StyleIsStoredAsAnArchivedStringAndAnUnreadableOneIsKeptAside) {
  defaults_.setString("list", "STYLE_VIEW");
  EXPECT_EQ(utilities_.getStyleView(), "grid");
  EXPECT_TRUE(utilities_.setStyleView("list"));
  EXPECT_EQ(store::KeyedUnarchiver::unarchiveString(*defaults_.dataForKey("STYLE_VIEW")), "list");
  ASSERT_EQ(keys().size(), 2u);
  EXPECT_EQ(defaults_.stringForKey(keys()[1]), "list");
}

}  // namespace
