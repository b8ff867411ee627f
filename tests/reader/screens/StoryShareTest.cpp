#include "reader/screens/StoryShare.h"

#include "platform/base/Utf16.h"
#include "sharing/core/SHKActionSheet.h"
#include "tests/reader/screens/ListScreenTestSupport.h"

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
  struct Case {
    const char* name;
    std::optional<std::string> title;
    std::string expected;
  };
  const std::string t160(160 - head, 'x');
  const Case cases[] = {
      {"170 units become 160", std::string(170 - head, 'a'),
       kHead + "L : " + std::string(160 - head, 'a')},
      {"exactly 160 stays whole", t160, kHead + "L : " + t160},
      // An emoji is two units: one starting at unit 160 is dropped whole.
      {"emoji straddling the limit", std::string(159 - head, 'b') + "\U0001F600tail",
       kHead + "L : " + std::string(159 - head, 'b')},
      // "à" is two bytes but one unit: the cut counts units, not bytes.
      {"Vietnamese letters count one each", std::string(159 - head, 'c') + "ààà",
       kHead + "L : " + std::string(159 - head, 'c') + "à"},
      {"no title: nothing after the separator", std::nullopt, kHead + "L : "},
      {"markup and line breaks pass as text", "<b>A</b>\r\nB", kHead + "L : <b>A</b>\r\nB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = story_share::text(*story("L", c.title));
    EXPECT_EQ(text, c.expected);
    EXPECT_LE(base::utf16Length(text), 160u);
  }
}

class StoryShareScreenTest : public ReaderTest {
 protected:
  void TearDown() override { ui::AlertStack::shared().reset(); }
  template <typename Screen>
  Screen& open(std::vector<ItemPtr> list, int index) {
    return push<Screen>(std::move(list), index, "NO");
  }
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

TEST_F(StoryShareScreenTest, LeadReaderSharesThePageOnScreenAfterPaging) {
  auto& screen = open<SapoViewController>(
      {story("http://a.vn/1", "Một"), story("http://a.vn/2", "Hai"), story("http://a.vn/3", "")},
      0);
  EXPECT_EQ(shared(screen.shareButton()), kHead + "http://a.vn/1 : Một");
  screen.nextButtonPush();
  ReaderRun::settle();
  EXPECT_EQ(shared(screen.shareButton()), kHead + "http://a.vn/2 : Hai");
  screen.nextButtonPush();
  ReaderRun::settle();
  EXPECT_EQ(shared(screen.shareButton()), kHead + "http://a.vn/3 : ");
}

TEST_F(StoryShareScreenTest, ArticleReaderSharesTheToolsPageTitleOnceLoaded) {
  const std::string longTitle(200, 'q');
  auto& screen = open<DetailViewController>({story("http://a.vn/tools", std::nullopt)}, 0);
  auto& engine = dynamic_cast<ui::HeadlessWebEngine&>(screen.webView()->engine());
  struct Step {
    std::optional<std::string> pageTitle;  // nothing: before the load finished
    std::string expected;
  };
  const Step steps[] = {
      {std::nullopt, kHead + "http://a.vn/tools : "},
      {"", kHead + "http://a.vn/tools : "},
      {"Công cụ", kHead + "http://a.vn/tools : Công cụ"},
      {longTitle, kHead + "http://a.vn/tools : " +
                      longTitle.substr(0, 160 - base::utf16Length(kHead + "http://a.vn/tools : "))},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.pageTitle.value_or("(loading)"));
    // The load ends without a title; the page names itself afterwards.
    if (s.pageTitle) {
      s.pageTitle->empty() ? engine.finishLoad("") : engine.changeTitle(*s.pageTitle);
      ReaderRun::settle();
    }
    EXPECT_EQ(shared(screen.shareButton()), s.expected);
  }
}

}  // namespace
