#include "sharing/core/SHKActionSheet.h"

#include <gtest/gtest.h>

#include "platform/ui/AlertStack.h"
#include "sharing/core/SHKSharer.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

// A service that only records what it was asked to share.
class NamedService : public SHKSharer {
 public:
  explicit NamedService(std::string title, bool* canShare = nullptr)
      : title_(std::move(title)), canShare_(canShare) {}
  std::string sharerTitle() const override { return title_; }
  bool canShareText() const override { return true; }
  bool canShare() const override { return !canShare_ || *canShare_; }
  bool requiresAuthentication() const override { return false; }
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override {
    shared.push_back(title_ + ": " + item()->text().value_or(""));
    sendDidFinish();
    return true;
  }
  static inline Strings shared;

 private:
  std::string title_;
  bool* canShare_;
};

class SHKActionSheetTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    NamedService::shared.clear();
    SHKSharer::registerClass("SHKMail",
                             [this] { return std::make_shared<NamedService>("Email", &mail_); });
    SHKSharer::registerClass("SHKTwitter",
                             [] { return std::make_shared<NamedService>("Twitter"); });
    SHKSharer::registerClass("SHKFacebook",
                             [] { return std::make_shared<NamedService>("Facebook"); });
  }
  void TearDown() override {
    for (const char* name : {"SHKMail", "SHKTwitter", "SHKFacebook"})
      SHKSharer::unregisterClass(name);
    SharingTest::TearDown();
  }
  static Strings buttons(const SHKActionSheet& sheet) {
    Strings titles;
    for (int i = 0; i < sheet.numberOfButtons(); ++i) titles.push_back(sheet.buttonTitleAtIndex(i));
    return titles;
  }
  bool mail_ = true;
};

TEST_F(SHKActionSheetTest, ButtonsFollowTheFavouritesThatCanShareNow) {
  struct Case {
    const char* name;
    int32_t type;
    bool mail;
    const char* unregister;
    Strings buttons;
  };
  const Case cases[] = {
      {"nothing for type 0", SHKShareTypeUndefined, true, nullptr, {"Cancel"}},
      {"text with mail",
       SHKShareTypeText,
       true,
       nullptr,
       {"Email", "Twitter", "Facebook", "Cancel"}},
      {"text without mail", SHKShareTypeText, false, nullptr, {"Twitter", "Facebook", "Cancel"}},
      {"unknown names skipped",
       SHKShareTypeText,
       true,
       "SHKTwitter",
       {"Email", "Facebook", "Cancel"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mail_ = c.mail;
    if (c.unregister) SHKSharer::unregisterClass(c.unregister);
    auto sheet = SHKActionSheet::actionSheetForType(c.type);
    EXPECT_EQ(buttons(*sheet), c.buttons);
    EXPECT_EQ(sheet->cancelButtonIndex(), sheet->numberOfButtons() - 1);
    EXPECT_EQ(sheet->sharers().size(), c.buttons.size() - 1);
    EXPECT_EQ(sheet->title(), "Share");
  }
}

TEST_F(SHKActionSheetTest, ButtonStartsItsServiceOnTheItemAndMovesItFirst) {
  mail_ = false;
  auto sheet = SHKActionSheet::actionSheetForItem(SHKItem::text("hello"));
  sheet->showInView(*root_->view());
  ASSERT_TRUE(sheet->pressButton(0));  // the indexes shift without "Email"
  EXPECT_EQ(NamedService::shared, Strings{"Twitter: hello"});
  EXPECT_FALSE(sheet->isVisible());

  auto second = SHKActionSheet::actionSheetForItem(SHKItem::text("again"));
  second->showInView(*root_->view());
  ASSERT_TRUE(second->pressButton(1));
  mail_ = true;
  EXPECT_EQ(buttons(*SHKActionSheet::actionSheetForType(SHKShareTypeText)),
            (Strings{"Facebook", "Twitter", "Email", "Cancel"}));

  // Cancel and indexes out of range start nothing.
  auto third = SHKActionSheet::actionSheetForItem(SHKItem::text("no"));
  third->showInView(*root_->view());
  third->pressButton(third->cancelButtonIndex());
  third->dismissWithClickedButtonIndex(-1, false);
  third->dismissWithClickedButtonIndex(99, false);
  EXPECT_EQ(NamedService::shared, (Strings{"Twitter: hello", "Facebook: again"}));
}

}  // namespace
