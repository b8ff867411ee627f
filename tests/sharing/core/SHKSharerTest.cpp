#include "sharing/core/SHKSharer.h"

#include "platform/store/UserDefaults.h"
#include "sharing/core/SHKFormController.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

class SHKSharerTest : public SharingTest {
 public:
  using SharingTest::form;
  void SetUp() override {
    SharingTest::SetUp();
    TestService::mode = TestService::Send::FinishLater;
    TestService::needsLogin = TestService::withForm = true;
    SHKSharer::registerClass("SHKTestService", [] { return std::make_shared<TestService>(); });
  }
  void TearDown() override {
    SHKSharer::unregisterClass("SHKTestService");
    SHK::setOfflineQueueAdder(nullptr);
    SharingTest::TearDown();
  }
  std::weak_ptr<SHKSharer> shareLink(bool autoShare = false) {
    store::UserDefaults::standard().setBool(autoShare, "SHKTestService_shouldAutoShare");
    return SHKSharer::shareItem("SHKTestService",
                                SHKItem::URL(*net::Url::parse("https://vemo.vn/a?b=1"), "Old"));
  }
  void login() {
    ASSERT_EQ(form() ? form()->title() : "", "Login");
    submitForm({"ann", "p+w#"});
    runFor(1);
  }
};

TEST_F(SHKSharerTest, WholeLifeFromLoginToOneOutcomeThenFreed) {
  std::weak_ptr<SHKSharer> sharer = shareLink();
  runFor(0.5);
  login();
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKTestService"), "p+w#");

  // An edited title goes with the item.
  std::weak_ptr<ui::ViewController> weakForm = sharer.lock()->viewControllers().back();
  submitForm({"New title"});
  EXPECT_EQ(sharer.lock()->item()->title(), "New title");
  runFor(0.5);
  ASSERT_FALSE(sharer.expired());  // sending keeps it alive with its screens gone
  runFor(0.6);
  EXPECT_EQ(outcomes_, (Strings{kStart, kFinish}));
  runFor(2);
  EXPECT_TRUE(sharer.expired());
  EXPECT_TRUE(weakForm.expired());
  EXPECT_EQ(TestService::sends, 1);
}

// Every path ends with the service and its forms freed, and at most one outcome.
TEST_F(SHKSharerTest, EveryPathFreesTheService) {
  using S = TestService::Send;
  auto cancel = [](SHKSharerTest& t) {
    ASSERT_NE(t.form(), nullptr);
    t.form()->navigationItem().leftBarButtonItem()->press();
  };
  auto none = [](SHKSharerTest&) {};
  // Login cancelled; share form cancelled; auto-share sends at once; an auto-share refused shows
  // the form; reports after the first are ignored.
  const std::tuple<bool, bool, S, std::function<void(SHKSharerTest&)>, Strings> cases[] = {
      {true, false, S::FinishNow, cancel, {}},
      {false, false, S::FinishNow, cancel, {}},
      {false, true, S::FinishNow, none, {kFinish}},
      {false, true, S::Refuse, cancel, {}},
      {false, true, S::ReportTwice, none, {kStart, kFinish}}};
  for (const auto& [needsLogin, autoShare, mode, act, outcomes] : cases) {
    SCOPED_TRACE(int(mode));
    outcomes_.clear();
    TestService::needsLogin = needsLogin;
    TestService::mode = mode;
    std::weak_ptr<SHKSharer> sharer = shareLink(autoShare);
    runFor(0.5);
    act(*this);
    runFor(3);
    EXPECT_EQ(outcomes_, outcomes);
    EXPECT_TRUE(sharer.expired());
    EXPECT_EQ(SHK::currentHelper().currentView(), nullptr);
  }
}

TEST_F(SHKSharerTest, OfflineRules) {
  network_.online = false;
  const std::string noShare = "Offline: You must be online in order to share with Test";
  // Logged in, can share offline, the queue takes it: the alert.
  const std::tuple<bool, bool, bool, std::string> cases[] = {
      {false, true, true, "Offline: You must be online to login to Test"},
      {true, true, true, ""},  // queued silently
      {true, false, true, noShare},
      {true, true, false, noShare}};
  for (const auto& [loggedIn, canShareOffline, queueTakes, alert] : cases) {
    SCOPED_TRACE(alert);
    ui::AlertStack::shared().reset();
    TestService::offline = canShareOffline;
    int queued = 0;
    SHK::setOfflineQueueAdder([&](const SHKItem& item, const std::string& id) {
      EXPECT_EQ(id + " " + item.title().value_or(""), "SHKTestService Old");
      queued += queueTakes;
      return queueTakes;
    });
    SHKSharer::create("SHKTestService")->logout();
    if (loggedIn) SHK::setAuthValue("ann", "username", "SHKTestService");  // one field is enough
    std::weak_ptr<SHKSharer> sharer = shareLink(true);
    runFor(0.5);
    EXPECT_EQ(alertText(), alert);
    EXPECT_EQ(queued, alert.empty() ? 1 : 0);
    EXPECT_EQ(form(), nullptr);
    runFor(1);
    EXPECT_TRUE(sharer.expired());
  }
  EXPECT_EQ(TestService::sends, 0);
}

TEST_F(SHKSharerTest, ReloginShowsTheErrorThenTheLoginAgain) {
  TestService::mode = TestService::Send::ReloginLater;
  SHK::setAuthValue("wrong", "password", "SHKTestService");
  std::weak_ptr<SHKSharer> sharer = shareLink(true);
  runFor(1.5);
  EXPECT_EQ(alertText(), "Error: Could not authenticate you. Please relogin.");
  EXPECT_EQ(outcomes_, (Strings{kStart, kFail}));
  login();
  runFor(4);
  EXPECT_EQ(outcomes_.back(), kFinish);
  EXPECT_TRUE(sharer.expired());
}

TEST_F(SHKSharerTest, QuietServiceShowsNothing) {
  TestService::mode = TestService::Send::ReloginLater;
  TestService::needsLogin = false;
  auto sharer = SHKSharer::create("SHKTestService");
  sharer->setQuiet(true);
  sharer->setItem(SHKItem::text("plain text: no form"));
  sharer->share();
  runFor(2);
  EXPECT_EQ(outcomes_, (Strings{kStart, kFail}));
  EXPECT_TRUE(ui::AlertStack::shared().empty());
  EXPECT_FALSE(SHKActivityIndicator::exists());
  EXPECT_EQ(SHK::currentHelper().currentView(), nullptr);
}

TEST_F(SHKSharerTest, UnknownClassNamesMakeNoService) {
  for (const char* name : {"", "SHKNope", "SHKTestService\n", "../SHKTestService"}) {
    SHK::logoutOfService(name);
    EXPECT_FALSE(SHKSharer::create(name) || SHKSharer::shareItem(name, SHKItem::text("x")) ||
                 SHKSharer::isServiceAuthorized(name))
        << name;
  }
}

}  // namespace
