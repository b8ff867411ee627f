#include "reader/screens/ServiceDetailViewController.h"

#include "platform/ui/Animator.h"
#include "tests/reader/screens/ScreenTestSupport.h"

using graphics::Rect;
using namespace screen_testing;
using testing_support::stories;

namespace {

// Fixed metrics: every character of the 22-point title font is 11 points wide. The list (rows,
// thumbnails, the style switch) is the home screen's and tested there.
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

TEST_F(ServiceDetailTest, PortraitGridAndHeaderAndATileOpensItsOwnStories) {
  ServiceDetailViewController& screen = open(stories(7));
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-portrait", 2));
  press(static_cast<ui::Button*>(storyView(screen)->subviews()[5].get()));
  EXPECT_EQ(probes_.log(), "sapo 5/7 NO");
}

TEST_F(ServiceDetailTest, LandscapeOnFirstAppearanceAndAfterRotations) {
  rotate(ui::InterfaceOrientation::LandscapeLeft);
  ServiceDetailViewController& screen = open(stories(5), "Thể thao", "YES");
  // The header's views and the story view, in each orientation the screen passes through.
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-landscape", 1));
  rotate(ui::InterfaceOrientation::Portrait);
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-rotated-portrait", 1));
  EXPECT_FALSE(static_cast<ReaderScreen&>(*navigation().viewControllers()[0]).landscape());
  // Rotating scrolls the rebuilt view back to the top; the title gets the wider room.
  static_cast<ui::ScrollView*>(storyView(screen))->setContentOffset({0, 200});
  rotate(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_TRUE(looksLike(*screen.view(), "category-stories-rotated-landscape", 1));
}

TEST_F(ServiceDetailTest, LongTitleScrollsInItsHeaderUntilTheScreenGoesAway) {
  std::weak_ptr<ui::ViewController> weak;
  {
    ServiceDetailViewController& screen = open(stories(1), std::string(30, 'x'));  // 330 points
    weak = navigation().viewControllers().back();
    // It fills the room between the saved-stories and style buttons (a short one is centred
    // there: see the recorded screens), out to the end and back in two seconds.
    ui::ScrollView* header = screen.headerScrollView();
    EXPECT_EQ(header->frame(), Rect(120, 0, 160, 44));
    EXPECT_FALSE(header->isUserInteractionEnabled());
    auto reaches = [&](double x) {
      return base::RunLoop::main().runUntilCondition(
          [&] { return header->contentOffset() == graphics::Point(x, 0); }, 3.0);
    };
    ASSERT_TRUE(reaches(170));
    double out = base::RunLoop::main().now();
    ASSERT_TRUE(reaches(0));
    EXPECT_NEAR(base::RunLoop::main().now() - out, 2.0, 0.05);
    // A rotation leaves the scrolling title where it is; the wider room scrolls it less.
    rotate(ui::InterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(screen.titleLabel()->frame(), Rect(0, 0, 330, 44));
    ASSERT_TRUE(reaches(10));
  }
  pop();
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(ui::Animator::shared().runningCount(), 0u);
}
