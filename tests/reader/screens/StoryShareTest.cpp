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
  const std::pair<std::optional<std::string>, std::string> cases[] = {
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

// The text the sheet opened by a share button shares.
std::string shared(ui::Button* shareButton) {
  ui::AlertStack::shared().reset();
  shareButton->sendActionsForTouchUpInside();
  auto* sheet = ui::AlertStack::shared().topAs<SHKActionSheet>();
  if (!sheet || sheet->item()->shareType() != SHKShareTypeText) return "(no text sheet)";
  return sheet->item()->text().value_or("").substr(kHead.size());
}

// The lead reader shares the page on screen; the article reader the page's title once known.
using StoryShareScreenTest = ReaderTest;
TEST_F(StoryShareScreenTest, ReadersShareTheStoryOnScreen) {
  auto& lead = push<SapoViewController>(
      std::vector{story("http://a.vn/1", "Một"), story("http://a.vn/2", "Hai")}, 0, "NO");
  lead.nextButtonPush();
  EXPECT_EQ(shared(lead.shareButton()), "http://a.vn/2 : Hai");
  auto& article =
      push<DetailViewController>(std::vector{story("http://a.vn/tools", std::nullopt)}, 0, "NO");
  // The load ends without a title; the page names itself afterwards.
  engine(article).finishLoad("");
  EXPECT_EQ(shared(article.shareButton()), "http://a.vn/tools : ");
  engine(article).changeTitle("Công cụ");
  EXPECT_EQ(shared(article.shareButton()), "http://a.vn/tools : Công cụ");
}

}  // namespace
