#include "sharing/core/SHKActionSheet.h"

#include "tests/sharing/core/SharingTestSupport.h"

namespace {

class SHKActionSheetTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    SHKSharer::registerClass(
        "SHKMail", [this] { return std::make_shared<TestService>("Email", true, &mail_); });
    for (const char* name : {"Twitter", "Facebook"}) {
      SHKSharer::registerClass("SHK" + std::string(name),
                               [name] { return std::make_shared<TestService>(name); });
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
  const std::tuple<int32_t, bool, const char*, Strings> cases[] = {
      {SHKShareTypeUndefined, true, nullptr, {"Cancel"}},
      {SHKShareTypeText, true, nullptr, {"Email", "Twitter", "Facebook", "Cancel"}},
      {SHKShareTypeText, false, nullptr, {"Twitter", "Facebook", "Cancel"}},
      {SHKShareTypeText, true, "SHKTwitter", {"Email", "Facebook", "Cancel"}},  // unknown: skipped
  };
  for (const auto& [type, mail, unregister, expected] : cases) {
    mail_ = mail;
    if (unregister) SHKSharer::unregisterClass(unregister);
    auto sheet = SHKActionSheet::actionSheetForType(type);
    EXPECT_EQ(buttons(*sheet), expected);
  }
}

// A button starts its service on the item (the indexes shift without "Email"); cancel and
// indexes out of range start nothing.
TEST_F(SHKActionSheetTest, ButtonStartsItsServiceOnTheItem) {
  mail_ = false;
  auto sheet = SHKActionSheet::actionSheetForItem(SHKItem::text("hello"));
  sheet->showInView(*root_->view());
  ASSERT_TRUE(sheet->pressButton(1));
  auto other = SHKActionSheet::actionSheetForItem(SHKItem::text("no"));
  other->showInView(*root_->view());
  other->pressButton(other->cancelButtonIndex());
  other->dismissWithClickedButtonIndex(-1, false);
  other->dismissWithClickedButtonIndex(99, false);
  EXPECT_EQ(TestService::shared, Strings{"Facebook: hello"});
}

}  // namespace
