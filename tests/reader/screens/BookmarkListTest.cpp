#include "reader/screens/BookmarkListViewController.h"

#include "tests/reader/screens/ScreenTestSupport.h"

using namespace screen_testing;

namespace {

using Names = std::vector<std::string>;

class BookmarkListTest : public ReaderTest {
 protected:
  // Saves A, B and C (in that order) and opens the saved stories as the header button does.
  void SetUp() override {
    ReaderTest::SetUp();
    std::vector<ItemPtr> saved;
    for (const char* name : {"A", "B", "C"})
      saved.push_back(testing_support::storyAt(std::string("http://example.com/") + name, name));
    Utilities().setBookmarkItem(saved);
    press(buttonShowing(*top(), "fav_saved.png"));
    screen_ = &topAs<BookmarkListViewController>();
    table_ = screen_->tableView();
  }
  // The stored titles, then the rows' ones.
  std::pair<Names, Names> titles() {
    std::pair<Names, Names> result;
    for (const auto& item : Utilities().getBookmarkItem()) result.first.push_back(*item->title);
    for (ui::TableViewCell* cell : table_->visibleCells())
      result.second.push_back(cell->textLabel()->text());
    return result;
  }

  BookmarkListViewController* screen_ = nullptr;
  ui::TableView* table_ = nullptr;
};

}  // namespace

TEST_F(BookmarkListTest, NewestFirstAndChangesMadeInTheArticleReaderShowOnReturn) {
  EXPECT_TRUE(looksLike(*screen_->view(), "saved-stories"));
  table_->tapRowAtIndexPath({0, 0});
  settle();
  auto* detail = &topAs<DetailViewController>();
  EXPECT_EQ(engine(*detail).startedRequests().at(0).url().absoluteString(), "http://example.com/C");
  EXPECT_FALSE(table_->indexPathForSelectedRow().has_value());
  EXPECT_EQ(shownImage(detail->bookmarkButton()), "fav_default.png");  // until the page is in
  engine(*detail).finishLoad("C");
  EXPECT_EQ(shownImage(detail->bookmarkButton()), "fav_activated.png");
  detail->bookmarkButtonPush();
  detail->backButtonPush();
  settle();
  EXPECT_EQ(titles().second, (Names{"B", "A"}));
  // An edit here keeps what the article reader did.
  screen_->rightButtonPush();
  ASSERT_TRUE(table_->tapEditingControlForRowAtIndexPath({0, 0}));
  EXPECT_EQ(titles().first, (Names{"A"}));
}

TEST_F(BookmarkListTest, EditModeDeletesAndMovesAndStoresAtOnce) {
  screen_->editButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(shownImage(screen_->editButton()), "edit_done.png");
  // No row opens a story while editing.
  table_->tapRowAtIndexPath({0, 1});
  settle();
  EXPECT_EQ(top(), screen_);

  ASSERT_TRUE(table_->dragRow({0, 2}, {0, 0}));  // A to the top
  settle();
  EXPECT_EQ(titles(), std::pair(Names{"B", "C", "A"}, Names{"A", "C", "B"}));
  ASSERT_TRUE(table_->tapEditingControlForRowAtIndexPath({0, 1}));  // C
  settle();
  EXPECT_EQ(titles(), std::pair(Names{"B", "A"}, Names{"A", "B"}));

  screen_->rightButtonPush();
  EXPECT_FALSE(table_->isEditing());
  EXPECT_EQ(shownImage(screen_->editButton()), "edit.png");
}
