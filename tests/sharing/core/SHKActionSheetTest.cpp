#include "sharing/core/SHKActionSheet.h"

#include <gtest/gtest.h>

#include "tests/sharing/core/SharingTestSupport.h"

namespace {

class SHKActionSheetTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    SHKSharer::registerClass(
        "SHKMail", [this] { return std::make_shared<RecordingService>("Email", true, &mail_); });
    for (const char* name : {"Twitter", "Facebook"}) {
      SHKSharer::registerClass("SHK" + std::string(name),
                               [name] { return std::make_shared<RecordingService>(name); });
    }
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
    int32_t type;
    bool mail;
    const char* unregister;
    Strings buttons;
  };
  const Case cases[] = {
      {SHKShareTypeUndefined, true, nullptr, {"Cancel"}},
      {SHKShareTypeText, true, nullptr, {"Email", "Twitter", "Facebook", "Cancel"}},
      {SHKShareTypeText, false, nullptr, {"Twitter", "Facebook", "Cancel"}},
      {SHKShareTypeText, true, "SHKTwitter", {"Email", "Facebook", "Cancel"}},  // unknown: skipped
  };
  for (const Case& c : cases) {
    mail_ = c.mail;
    if (c.unregister) SHKSharer::unregisterClass(c.unregister);
    auto sheet = SHKActionSheet::actionSheetForType(c.type);
    EXPECT_EQ(buttons(*sheet), c.buttons);
    EXPECT_EQ(sheet->cancelButtonIndex(), sheet->numberOfButtons() - 1);
    EXPECT_EQ(sheet->sharers().size(), c.buttons.size() - 1);
  }
}

TEST_F(SHKActionSheetTest, ButtonStartsItsServiceOnTheItemAndMovesItFirst) {
  mail_ = false;
  auto sheet = SHKActionSheet::actionSheetForItem(SHKItem::text("hello"));
  sheet->showInView(*root_->view());
  ASSERT_TRUE(sheet->pressButton(0));  // the indexes shift without "Email"
  EXPECT_EQ(RecordingService::shared, Strings{"Twitter: hello"});
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
  EXPECT_EQ(RecordingService::shared, (Strings{"Twitter: hello", "Facebook: again"}));
}

}  // namespace
