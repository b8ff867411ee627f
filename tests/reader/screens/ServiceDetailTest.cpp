#include "reader/screens/ServiceDetailViewController.h"

#include <condition_variable>
#include <mutex>

#include "platform/ui/Animator.h"
#include "tests/reader/screens/ListScreenTestSupport.h"
#include "tests/support/LoopbackServer.h"

using graphics::Rect;
using graphics::Size;
using namespace screen_testing;
using testing_support::stories;
using testing_support::storiesWithPictures;

namespace {

// Fixed metrics: every character of the 22-point title font is 11 points wide.
class ServiceDetailTest : public ReaderTest {
 protected:
  ServiceDetailViewController& open(std::vector<ItemPtr> stories,
                                    const std::string& header = "Thời sự",
                                    const std::string& landscape = "NO") {
    return push<ServiceDetailViewController>(std::move(stories), header, landscape);
  }
  ProbeScreens probes_;
};

}  // namespace

TEST_F(ServiceDetailTest, PortraitGridAndHeader) {
  base::LogCapture log;
  ServiceDetailViewController& screen = open(stories(7));
  EXPECT_TRUE(log.contains("sapoviewcontroller"));
  EXPECT_EQ(screen.view()->backgroundColor(), graphics::Color::rgb(227, 218, 207));
  ui::Label* title = screen.titleLabel();
  EXPECT_EQ(title->numberOfLines(), 1);
  EXPECT_EQ(title->lineBreakMode(), graphics::LineBreakMode::TailTruncation);
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-portrait", 2));
  auto* grid = dynamic_cast<ui::ScrollView*>(storyView(screen));
  ASSERT_NE(grid, nullptr);
  EXPECT_FALSE(grid->showsVerticalScrollIndicator());

  // A tile opens the lead reader on its story, with every story, after the deferral.
  static_cast<ui::Button*>(grid->subviews()[5].get())->sendActionsForTouchUpInside();
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  base::RunLoop::main().runFor(0.19);
  EXPECT_TRUE(probes_.opened.empty());
  run_->settle();
  ASSERT_EQ(probes_.opened.size(), 1u);
  EXPECT_EQ(probes_.opened[0].kind, "sapo");
  EXPECT_EQ(probes_.opened[0].index, 5);
  EXPECT_EQ(probes_.opened[0].items, screen.stories());
  EXPECT_EQ(probes_.opened[0].landscape, "NO");
}

TEST_F(ServiceDetailTest, LandscapeOnFirstAppearanceAndAfterRotations) {
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  run_->settle();
  ServiceDetailViewController& screen = open(stories(5), "Thể thao", "YES");
  // The header's views and the story view, in each orientation the screen passes through.
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-landscape", 1));

  base::LogCapture log;
  ui::Application::shared().rotate(ui::InterfaceOrientation::Portrait);
  run_->settle();
  EXPECT_TRUE(log.contains("rotation mainview"));
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-rotated-portrait", 1));
  EXPECT_FALSE(static_cast<ReaderScreen&>(*run_->navigation().viewControllers()[0]).landscape());

  // Rotating scrolls the rebuilt view back to the top.
  static_cast<ui::ScrollView*>(storyView(screen))->setContentOffset({0, 200});
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeRight);
  run_->settle();
  // Scrolled back to the top, the title in the wider room.
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-rotated-landscape", 1));

  // The landscape list is as wide as the screen.
  screen.styleButton()->sendActionsForTouchUpInside();
  EXPECT_TRUE(log.contains("ListView Landscape"));
  EXPECT_TRUE(log.contains("set list tableview"));
  ASSERT_EQ(storyView(screen), screen.tableView());
  EXPECT_EQ(screen.tableView()->frame(), Rect(0, 44, 480, 256));
  auto cell = screen.cellForRowAtIndexPath(*screen.tableView(), {0, 0});
  EXPECT_EQ(cell->viewWithTag(StoryCell::kTitleTag)->frame().width(), 460);
}

// The list itself (rows, thumbnails, the style switch) is shared with the home screen and tested
// there; this screen adds its row log and opens the lead reader on its own stories.
TEST_F(ServiceDetailTest, StyleButtonSwitchesToTheLoggedListAndBack) {
  ServiceDetailViewController& screen = open(stories(3));
  base::LogCapture log;
  screen.styleButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(Utilities().getStyleView(), "list");
  ASSERT_EQ(storyView(screen), screen.tableView());
  EXPECT_EQ(screen.tableView()->visibleCells().size(), 3u);
  EXPECT_EQ(log.count("maximumSize"), 3u);

  // A row opens its story and is deselected at once.
  EXPECT_TRUE(screen.tableView()->tapRowAtIndexPath({0, 2}));
  EXPECT_FALSE(screen.tableView()->indexPathForSelectedRow());
  run_->settle();
  ASSERT_EQ(probes_.opened.size(), 1u);
  EXPECT_EQ(probes_.opened[0].index, 2);
  EXPECT_EQ(probes_.opened[0].items, screen.stories());

  run_->navigation().popViewController(false);
  run_->settle();
  screen.styleButton()->sendActionsForTouchUpInside();
  EXPECT_EQ(storyView(screen)->className(), "ScrollView");
}

TEST_F(ServiceDetailTest, LongTitleScrollsInItsHeaderUntilTheScreenGoesAway) {
  base::LogCapture log;
  // 30 characters: 330 points.
  std::weak_ptr<ui::ViewController> weak;
  {
    ServiceDetailViewController& screen = open(stories(1), std::string(30, 'x'));
    weak = run_->navigation().viewControllers().back();
    EXPECT_TRUE(log.contains("330.000000"));
    ui::ScrollView* header = screen.headerScrollView();
    EXPECT_EQ(header->frame(), Rect(120, 0, 160, 44));
    EXPECT_EQ(header->contentSize(), Size(330, 44));
    EXPECT_FALSE(header->isUserInteractionEnabled());
    EXPECT_FALSE(header->showsHorizontalScrollIndicator());
    ASSERT_EQ(screen.titleLabel()->superview(), header);
    EXPECT_EQ(screen.titleLabel()->frame(), Rect(0, 0, 330, 44));
    // The buttons stay above the moving title.
    const auto& subviews = screen.view()->subviews();
    auto at = [&](const ui::View* v) {
      return std::find_if(subviews.begin(), subviews.end(),
                          [v](const auto& s) { return s.get() == v; }) -
             subviews.begin();
    };
    EXPECT_LT(at(header), at(screen.styleButton()));

    // Out to the end in two seconds, back in two more, and again.
    auto reaches = [&](double x) {
      return base::RunLoop::main().runUntilCondition(
          [&] { return header->contentOffset() == graphics::Point(x, 0); }, 3.0);
    };
    ASSERT_TRUE(reaches(170));
    double out = base::RunLoop::main().now();
    base::RunLoop::main().runFor(1.0);
    EXPECT_GT(header->contentOffset().x, 0);
    EXPECT_LT(header->contentOffset().x, 170);
    ASSERT_TRUE(reaches(0));
    EXPECT_NEAR(base::RunLoop::main().now() - out, 2.0, 0.05);
    ASSERT_TRUE(reaches(170));
    EXPECT_NEAR(base::RunLoop::main().now() - out, 4.0, 0.05);
    // A rotation leaves the scrolling title where it is; the wider room scrolls it less.
    ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
    run_->settle();
    EXPECT_EQ(screen.titleLabel()->frame(), Rect(0, 0, 330, 44));
    EXPECT_TRUE(ui::Animator::shared().isAnimating(*header));
    ASSERT_TRUE(reaches(10));
  }
  run_->navigation().popViewController(false);
  run_->settle();
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(log.contains("SERVICE DETAIL VIEW DEALLOC"));
  EXPECT_EQ(ui::Animator::shared().runningCount(), 0u);
}

TEST_F(ServiceDetailTest, TitleWindowStaysClearOfTheHeaderButtons) {
  // Titles of 11 points a character: a short one sits centred in the room between the
  // saved-stories and style buttons without moving, a long one fills the room and scrolls.
  struct Case {
    size_t characters;
    const char* landscape;
    Rect window, rotated;
    bool scrolls;
  };
  for (Case c : {Case{10, "NO", {145, 0, 110, 44}, {225, 0, 110, 44}, false},
                 Case{14, "NO", {123, 0, 154, 44}, {203, 0, 154, 44}, false},
                 Case{19, "NO", {120, 0, 160, 44}, {120, 0, 320, 44}, true},
                 Case{30, "YES", {120, 0, 320, 44}, {120, 0, 160, 44}, true}}) {
    SCOPED_TRACE(testing::Message() << c.characters << " characters, landscape " << c.landscape);
    const bool landscape = std::string(c.landscape) == "YES";
    ui::Application::shared().rotate(landscape ? ui::InterfaceOrientation::LandscapeLeft
                                               : ui::InterfaceOrientation::Portrait);
    run_->settle();
    ServiceDetailViewController& screen =
        open(stories(1), std::string(c.characters, 'x'), c.landscape);
    ui::ScrollView* header = screen.headerScrollView();
    EXPECT_EQ(ui::Animator::shared().isAnimating(*header), c.scrolls);
    EXPECT_EQ(screen.titleLabel()->superview() == header, c.scrolls);
    for (const Rect& window : {c.window, c.rotated}) {
      EXPECT_EQ(header->frame(), window);
      for (const ui::ViewPtr& view : screen.view()->subviews()) {
        if (dynamic_cast<ui::Button*>(view.get())) {
          EXPECT_FALSE(view->frame().intersects(header->frame())) << view->frame().x();
        }
      }
      ui::Application::shared().rotate(screen.landscape()
                                           ? ui::InterfaceOrientation::Portrait
                                           : ui::InterfaceOrientation::LandscapeLeft);
      run_->settle();
    }
    pop();
  }
}

TEST_F(ServiceDetailTest, ThumbnailArrivingAfterThePopIsDropped) {
  // A picture server that answers only when told to.
  testing_support::LoopbackServer slow;
  std::mutex mutex;
  std::condition_variable release;
  bool released = false, asked = false;
  std::string png = graphics::Image::filled({8, 8}, graphics::Color::rgb(1, 2, 3))->pngData();
  slow.server().Get("/late.png", [&](const httplib::Request&, httplib::Response& res) {
    std::unique_lock lock(mutex);
    asked = true;
    release.notify_all();
    release.wait(lock, [&] { return released; });
    res.set_content(png, "image/png");
  });
  slow.start();

  Utilities().setStyleView("list");
  std::weak_ptr<ThumbnailCache> cache;
  {
    ServiceDetailViewController& screen = open(storiesWithPictures({slow.url("/late.png")}));
    cache = screen.thumbnails().weak_from_this();
    screen.tableView()->visibleCells();
    // The fetch runs on the main loop.
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] {
      std::lock_guard lock(mutex);
      return asked;
    }));
  }
  base::LogCapture log;
  buttonShowing(*run_->top(), "exit.png")->sendActionsForTouchUpInside();
  run_->settle();
  EXPECT_EQ(run_->navigation().viewControllers().size(), 1u);
  EXPECT_TRUE(log.contains("SERVICE DETAIL VIEW DEALLOC"));
  EXPECT_TRUE(cache.expired());
  {
    std::lock_guard lock(mutex);
    released = true;
  }
  release.notify_all();
  // The picture reaches the main loop and finds nobody.
  base::RunLoop::main().runUntilCondition([] { return false; }, 0.5);
  run_->settle();
  EXPECT_EQ(run_->navigation().viewControllers().size(), 1u);
  slow.stop();
}
