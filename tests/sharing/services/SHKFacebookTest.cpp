#include "sharing/services/SHKFacebook.h"

#include "facebook/FBLoginDialog.h"
#include "facebook/FBSession.h"
#include "sharing/services/SHKFBStreamDialog.h"
#include "tests/sharing/core/SandboxSharingTest.h"

namespace {

// Shares with the Facebook service against the sandbox, with the panels' pages driven by hand.
class SHKFacebookTest : public SandboxSharingTest {
 protected:
  void SetUp() override {
    SandboxSharingTest::SetUp();
    base::RunLoop::main().setVirtualClock(false);
    SHKFacebook::registerService();
    service_ = SHKFacebook::kClassName;
  }
  void TearDown() override {
    base::RunLoop::main().setVirtualClock(true);
    SandboxSharingTest::TearDown();
  }

  FBDialog* panel() {
    for (auto& view : window_->subviews()) {
      auto* dialog = dynamic_cast<FBDialog*>(view.get());
      if (dialog && !dialog->isDismissed()) return dialog;
    }
    return nullptr;
  }
  // The open panel once it is a `name` (null after twenty seconds without one).
  FBDialog* panel(const std::string& name) {
    waitFor([&] { return panel() && panel()->className() == name; });
    return panel() && panel()->className() == name ? panel() : nullptr;
  }
  static ui::HeadlessWebEngine& engine(FBDialog& dialog) {
    return dynamic_cast<ui::HeadlessWebEngine&>(dialog.webView().engine());
  }
  static void go(FBDialog* dialog, const std::string& url) {
    ASSERT_TRUE(dialog);
    engine(*dialog).navigate(net::UrlRequest(*net::Url::parse(url)),
                             ui::WebViewNavigationType::Other);
  }
  // Logs in on the sandbox's page as the panel's user would; the redirect for the panel.
  std::string loggedIn() {
    auto res = client_->Post("/SHKFacebook/web/login.php", "email=a%40b.test&pass=x",
                             "application/x-www-form-urlencoded");
    return "fbdialog://success?auth_token=" +
           (res ? FBLoginDialog::authToken(res->get_header_value("Location")).value_or("") : "");
  }
  // Waits for the share's end, then a moment for a second report that must not come.
  Strings ended() {
    waitFor([&] { return !endings().empty(); });
    runFor(0.3);
    return endings();
  }
};

TEST_F(SHKFacebookTest, StoryTextsAndTheWindow) {
  const std::tuple<std::optional<std::string>, std::string, std::string> rows[] = {
      {"Hồ \"Gươm\" & co", "http://a.test/x?y=1", "H%E1%BB%93%20%22G%C6%B0%C6%A1m%22%20%26%20co"},
      {"it's\\", "http://a.test/", "it's%5C"},
      {std::nullopt, "http://a.test/x?y=1", "http%3A%2F%2Fa.test%2Fx%3Fy%3D1"},
  };
  for (const auto& [title, url, name] : rows) {
    EXPECT_EQ(SHKFacebook::attachmentFor(*SHKItem::URL(*net::Url::parse(url), title)),
              "{\t\t\t\t\t\t\t \"name\":\"" + name + "\",\t\t\t\t\t\t\t \"href\":\"" +
                  net::escapeComponent(url) + "\"\t\t\t\t\t\t\t }");
  }
  // Its pages need the window: the terminal and a flush without one leave it alone.
  EXPECT_TRUE(SHKSharer::create(SHKFacebook::kClassName)->requiresWindow());
}

// A logged-out user shares a text: log-in page, then the publishing page with the text; a
// cancel, a publication and a page that fails each end the share once.
TEST_F(SHKFacebookTest, TextShareLogsInThenPublishes) {
  SHKSharer::create(SHKFacebook::kClassName)->logout();
  const std::pair<std::string, std::string> cases[] = {
      {"fbdialog:cancel", kCancel}, {"fbdialog:success", kFinish}, {"", kFail}};
  for (const auto& [ending, outcome] : cases) {
    SCOPED_TRACE(outcome);
    outcomes_.clear();
    SHKSharer::shareText(SHKFacebook::kClassName, "it's \"mine\"");
    if (outcome == kCancel) go(panel("FBLoginDialog"), loggedIn());
    auto* stream = static_cast<SHKFBStreamDialog*>(panel("SHKFBStreamDialog"));
    ASSERT_TRUE(stream);
    engine(*stream).finishLoad("Publish");
    EXPECT_EQ(engine(*stream).evaluatedScripts().at(2),
              SHKFBStreamDialog::prefillScript("it's \"mine\""));
    if (ending.empty()) {
      // The page's form leads to a page that does not load.
      engine(*stream).navigate(net::UrlRequest(*net::Url::parse(sandbox_.baseUrl() + "/next")),
                               ui::WebViewNavigationType::FormSubmitted);
      engine(*stream).failLoad(net::Error(net::Error::kDomain, net::Error::TimedOut, "slow"));
    } else {
      go(stream, ending);
    }
    EXPECT_EQ(ended(), Strings{outcome});
  }
}

// A picture asks for the upload permission: cancelled, the share ends silently; allowed for a
// session the site does not know, it fails. (The window test uploads one for real.)
TEST_F(SHKFacebookTest, PicturePermissionCancelledOrRefused) {
  auto session = FBSession::create("", std::string(), std::nullopt, SHKFacebook::configuredHosts());
  auto picture = graphics::Image::filled({8, 8}, graphics::Color::white());
  session->begin(1, "stale", "stale", std::nullopt);
  for (const char* ending : {"fbdialog:cancel", "fbdialog:success"}) {
    SHKSharer::shareImage(SHKFacebook::kClassName, picture, "caption");
    go(panel("FBPermissionDialog"), ending);
    runFor(0.5);
  }
  EXPECT_EQ(ended(), Strings{kFail});
}

// The log-in panel ends a share once: closed, nothing; a page that does not load or a token the
// site refuses, a failure; the panel goes either way.
TEST_F(SHKFacebookTest, LogInPanelThatFailsEndsTheShare) {
  SHKSharer::create(SHKFacebook::kClassName)->logout();
  const net::Error slow(net::Error::kDomain, net::Error::TimedOut, "slow");
  const std::pair<std::function<void(FBDialog*)>, Strings> rows[] = {
      {[](FBDialog* login) { go(login, "fbdialog:cancel"); }, {}},
      {[&](FBDialog* login) { engine(*login).failLoad(slow); }, {kFail}},
      {[](FBDialog* login) { go(login, "fbdialog://success?auth_token=unknown"); }, {kFail}},
  };
  for (const auto& [act, expected] : rows) {
    outcomes_.clear();
    SHKSharer::shareText(SHKFacebook::kClassName, "text");
    FBDialog* login = panel("FBLoginDialog");
    ASSERT_TRUE(login);
    act(login);
    ASSERT_TRUE(waitFor([&] { return !panel(); }));
    runFor(0.5);
    EXPECT_EQ(endings(), expected);
  }
}

}  // namespace
