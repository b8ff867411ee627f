#include "reader/screens/StoryShare.h"

#include "platform/base/Utf16.h"
#include "sharing/core/SHKActionSheet.h"
#include "tests/reader/screens/ScreenTestSupport.h"

using namespace screen_testing;

namespace {

const std::string kHead = std::string(story_share::kGreeting) + "\n";

ItemPtr story(std::optional<std::string> link, std::optional<std::string> title) {
  auto item = std::make_shared<Item>();
  item->link = std::move(link);
  item->title = std::move(title);
  return item;
}

TEST(StoryShareTextTest, GreetingLinkAndTitleCutAt160UnitsBetweenCharacters) {
  const size_t head = base::utf16Length(kHead + "L : ");  // greeting, line break, link, separator
  const std::string t160(160 - head, 'x');
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {std::string(170 - head, 'a'), std::string(160 - head, 'a')},  // 170 units become 160
      {t160, t160},
      // An emoji is two units: one starting at unit 160 is dropped whole.
      {std::string(159 - head, 'b') + "\U0001F600tail", std::string(159 - head, 'b')},
      // "à" is two bytes but one unit: the cut counts units, not bytes.
      {std::string(159 - head, 'c') + "ààà", std::string(159 - head, 'c') + "à"},
      {std::nullopt, ""},
      {"<b>A</b>\r\nB", "<b>A</b>\r\nB"},  // markup and line breaks pass as text
  };
  for (const auto& [title, shown] : cases) {
    SCOPED_TRACE(title.value_or("(none)"));
    EXPECT_EQ(story_share::text(*story("L", title)), kHead + "L : " + shown);
  }
}

class StoryShareScreenTest : public ReaderTest {
 protected:
  void TearDown() override { ui::AlertStack::shared().reset(); }
  // Presses the share button and answers the text the sheet on screen shares.
  static std::string shared(ui::Button* shareButton) {
    ui::AlertStack::shared().reset();
    shareButton->sendActionsForTouchUpInside();
    auto* sheet = ui::AlertStack::shared().topAs<SHKActionSheet>();
    if (!sheet) return "(no sheet)";
    EXPECT_EQ(sheet->item()->shareType(), SHKShareTypeText);
    return sheet->item()->text().value_or("");
  }
};

// The lead reader shares the page on screen; the article reader the page's title once known.
TEST_F(StoryShareScreenTest, ReadersShareTheStoryOnScreen) {
  auto& lead = push<SapoViewController>(
      std::vector{story("http://a.vn/1", "Một"), story("http://a.vn/2", "Hai"),
                  story("http://a.vn/3", "")},
      0, "NO");
  for (const char* expected : {"http://a.vn/1 : Một", "http://a.vn/2 : Hai", "http://a.vn/3 : "}) {
    EXPECT_EQ(shared(lead.shareButton()), kHead + expected);
    lead.nextButtonPush();
    settle();
  }
  auto& article =
      push<DetailViewController>(std::vector{story("http://a.vn/tools", std::nullopt)}, 0, "NO");
  const std::string head = kHead + "http://a.vn/tools : ";
  EXPECT_EQ(shared(article.shareButton()), head);  // before the load finished
  // The load ends without a title; the page names itself afterwards.
  engine(article).finishLoad("");
  EXPECT_EQ(shared(article.shareButton()), head);
  engine(article).changeTitle("Công cụ");
  EXPECT_EQ(shared(article.shareButton()), head + "Công cụ");
}

}  // namespace
