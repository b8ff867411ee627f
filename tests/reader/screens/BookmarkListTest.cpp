#include "reader/screens/BookmarkListViewController.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

using graphics::Rect;
using namespace screen_testing;

namespace {

ItemPtr story(const std::string& name) {
  return testing_support::storyAt("http://example.com/" + name, name);
}

std::vector<std::string> titles(const std::vector<ItemPtr>& items) {
  std::vector<std::string> result;
  for (const auto& item : items) result.push_back(item->title.value_or("?"));
  return result;
}

using Names = std::vector<std::string>;

class BookmarkListTest : public ReaderTest {
 protected:
  void SetUp() override {
    ReaderTest::SetUp();
    settings_.setBookmarkItem({story("A"), story("B"), story("C")});
  }

  // Opens the saved stories as the saved-stories button does.
  BookmarkListViewController& open() {
    buttonShowing(*run_->top(), "fav_saved.png")->sendActionsForTouchUpInside();
    ReaderRun::settle();
    auto* screen = dynamic_cast<BookmarkListViewController*>(run_->top());
    EXPECT_NE(screen, nullptr);
    return *screen;
  }
  Names rows(BookmarkListViewController& screen) {
    Names result;
    for (ui::TableViewCell* cell : screen.tableView()->visibleCells())
      result.push_back(cell->textLabel()->text());
    return result;
  }
  Names stored() { return titles(settings_.getBookmarkItem()); }

  Utilities settings_;
};

}  // namespace

TEST_F(BookmarkListTest, NewestFirstAndARowOpensItsStory) {
  base::LogCapture log;
  BookmarkListViewController& screen = open();
  EXPECT_TRUE(log.contains("bookmark view controller"));
  EXPECT_EQ(rows(screen), (Names{"C", "B", "A"}));
  ui::TableView* table = screen.tableView();
  EXPECT_EQ(table->frame(), Rect(0, 44, 320, 416));
  EXPECT_EQ(table->rectForRowAtIndexPath({0, 1}).height(), 60);
  ui::TableViewCell* cell = table->visibleCells()[0];
  EXPECT_EQ(cell->reuseIdentifier(), "cell");
  EXPECT_EQ(cell->accessoryType(), ui::TableViewCellAccessoryType::DisclosureIndicator);
  EXPECT_EQ(cell->textLabel()->numberOfLines(), 2);
  EXPECT_EQ(cell->textLabel()->font(), graphics::Font::named("TimesNewRomanPS-BoldMT", 18));

  table->tapRowAtIndexPath({0, 0});
  ReaderRun::settle();
  auto* detail = dynamic_cast<DetailViewController*>(run_->top());
  ASSERT_NE(detail, nullptr);
  auto& engine = dynamic_cast<ui::HeadlessWebEngine&>(detail->webView()->engine());
  ASSERT_EQ(engine.startedRequests().size(), 1u);
  EXPECT_EQ(engine.startedRequests()[0].url().absoluteString(), "http://example.com/C");
  EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
}

TEST_F(BookmarkListTest, EditModeDeletesAndMovesAndStoresAtOnce) {
  BookmarkListViewController& screen = open();
  ui::TableView* table = screen.tableView();
  screen.editButton()->sendActionsForTouchUpInside();
  EXPECT_TRUE(screen.editing());
  EXPECT_TRUE(table->isEditing());
  EXPECT_EQ(imageName(screen.editButton()->image(ui::ControlState::Normal)), "edit_done.png");
  // No row opens a story while editing.
  table->tapRowAtIndexPath({0, 1});
  ReaderRun::settle();
  EXPECT_EQ(run_->top(), &screen);

  ASSERT_TRUE(table->dragRow({0, 2}, {0, 0}));  // A to the top
  EXPECT_EQ(stored(), (Names{"B", "C", "A"}));
  ASSERT_TRUE(table->dragRow({0, 0}, {0, 2}));  // A back to the bottom
  EXPECT_EQ(stored(), (Names{"A", "B", "C"}));
  ASSERT_TRUE(table->dragRow({0, 0}, {0, 2}));  // C to the bottom
  EXPECT_EQ(stored(), (Names{"C", "A", "B"}));
  ReaderRun::settle();
  EXPECT_EQ(rows(screen), (Names{"B", "A", "C"}));

  ASSERT_TRUE(table->tapEditingControlForRowAtIndexPath({0, 0}));  // B
  EXPECT_EQ(stored(), (Names{"C", "A"}));
  ReaderRun::settle();
  EXPECT_EQ(rows(screen), (Names{"A", "C"}));

  screen.rightButtonPush();
  EXPECT_FALSE(table->isEditing());
  EXPECT_EQ(imageName(screen.editButton()->image(ui::ControlState::Normal)), "edit.png");
}

TEST_F(BookmarkListTest, DeletingTheTopRowAndThenTheLastStory) {
  settings_.setBookmarkItem({story("A"), story("B"), story("C")});
  BookmarkListViewController& screen = open();
  screen.rightButtonPush();
  ui::TableView* table = screen.tableView();
  ASSERT_TRUE(table->tapEditingControlForRowAtIndexPath({0, 0}));
  EXPECT_EQ(stored(), (Names{"A", "B"}));
  ReaderRun::settle();
  EXPECT_EQ(rows(screen), (Names{"B", "A"}));
  ASSERT_TRUE(table->tapEditingControlForRowAtIndexPath({0, 1}));
  ASSERT_TRUE(table->tapEditingControlForRowAtIndexPath({0, 0}));
  ReaderRun::settle();
  EXPECT_TRUE(stored().empty());
  EXPECT_TRUE(rows(screen).empty());
  EXPECT_EQ(table->numberOfRowsInSection(0), 0);
}

TEST_F(BookmarkListTest, ChangesMadeInTheArticleReaderShowOnReturn) {
  BookmarkListViewController& screen = open();
  screen.tableView()->tapRowAtIndexPath({0, 1});  // B
  ReaderRun::settle();
  auto* detail = dynamic_cast<DetailViewController*>(run_->top());
  ASSERT_NE(detail, nullptr);
  dynamic_cast<ui::HeadlessWebEngine&>(detail->webView()->engine()).finishLoad("B");
  EXPECT_EQ(imageName(detail->bookmarkButton()->image(ui::ControlState::Normal)),
            "fav_activated.png");
  detail->bookmarkButtonPush();
  EXPECT_EQ(stored(), (Names{"A", "C"}));
  detail->backButtonPush();
  ReaderRun::settle();
  EXPECT_EQ(rows(screen), (Names{"C", "A"}));
  // An edit here keeps what the article reader did.
  screen.rightButtonPush();
  ASSERT_TRUE(screen.tableView()->tapEditingControlForRowAtIndexPath({0, 0}));
  EXPECT_EQ(stored(), (Names{"A"}));
}
