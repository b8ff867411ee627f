#include "facebook/FBDialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "facebook/FBLoginButton.h"
#include "facebook/FBLoginDialog.h"
#include "facebook/FBPermissionDialog.h"
#include "facebook/FBStreamDialog.h"
#include "platform/ui/FormPostPage.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebCookieJar.h"
#include "tests/facebook/FBTestSupport.h"
#include "tests/support/ExpectedFile.h"
#include "tests/support/ViewTreeText.h"

namespace {

using testing_support::ExpectedFile;
using testing_support::ViewTreeText;
using T = ui::WebViewNavigationType;
using Events = std::vector<std::string>;

class TurningScreen : public ui::ViewController {
 public:
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
};

class FBDialogTest : public testing_support::FBTest {
 protected:
  // A shown dialog of type `Dialog`; `prepare` sets it up before it loads its page.
  template <typename Dialog>
  std::shared_ptr<Dialog> show(const std::function<void(Dialog&)>& prepare = {}) {
    auto dialog = std::make_shared<Dialog>(session);
    dialog->setDelegate(&recorder);
    if (prepare) prepare(*dialog);
    dialog->show();
    return dialog;
  }
  static ui::HeadlessWebEngine& engine(FBDialog& dialog) {
    return dynamic_cast<ui::HeadlessWebEngine&>(dialog.webView().engine());
  }
  // Whether the page may load `url`, which it starts in the way `type` says.
  static bool navigate(FBDialog& dialog, const char* url, T type) {
    return engine(dialog).navigate(net::UrlRequest(*net::Url::parse(url)), type);
  }
  static std::string lastURL(FBDialog& dialog) {
    return engine(dialog).startedRequests().back().url().absoluteString();
  }
};

TEST_F(FBDialogTest, PanelGeometryAndBounce) {
  auto dialog = show<FBStreamDialog>();
  base::RunLoop::main().runFor(0.5);
  EXPECT_EQ(dialog->transform().scale, 1);  // grown from nothing
  // The first page hides the spinner and names the panel.
  engine(*dialog).finishLoad("Post to Your Wall");
  EXPECT_TRUE(ExpectedFile::matches("tests/facebook/expected/stream-dialog-portrait.txt",
                                    ViewTreeText::dump(*dialog)));
  // Turned to landscape with the window, the panel takes the landscape frame.
  window->setRootViewController(std::make_shared<TurningScreen>());
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  base::RunLoop::main().runFor(1);
  EXPECT_TRUE(ExpectedFile::matches("tests/facebook/expected/stream-dialog-landscape.txt",
                                    ViewTreeText::dump(*dialog)));
  EXPECT_EQ(engine(*dialog).evaluatedScripts().back(),
            "document.body.setAttribute('orientation', 90);");

  dialog->closeButton().sendActionsForTouchUpInside();
  base::RunLoop::main().runFor(0.3);
  EXPECT_FALSE(dialog->superview());
  EXPECT_EQ(recorder.events, Events{"cancelled"});
}

// What the panel does with each navigation its page starts, and the log-in token it reads.
TEST_F(FBDialogTest, NavigationRules) {
  // Address, how it starts, whether it loads, what is heard.
  const std::tuple<const char*, T, bool, Events> rows[] = {
      {"fbdialog:cancel", T::LinkClicked, false, {"cancelled"}},
      {"FBDIALOG://success?x=1", T::Other, false, {"succeeded"}},  // a 302
      {"fbdialog:cancel?x", T::LinkClicked, false, {"succeeded"}},
      {"https://www.facebook.test/next.php", T::FormSubmitted, true, {}},
      {"https://elsewhere.test/a", T::LinkClicked, false, {"open https://elsewhere.test/a"}},
      {"javascript:alert(1)", T::LinkClicked, false, {}},
  };
  for (const auto& [url, type, loads, events] : rows) {
    SCOPED_TRACE(url);
    recorder.events.clear();
    auto dialog = show<FBStreamDialog>();
    engine(*dialog).finishLoad("page");
    EXPECT_EQ(navigate(*dialog, url, type), loads);
    EXPECT_EQ(recorder.events, events);
    dialog->dismissWithSuccess(false, false);
  }
  const std::pair<const char*, std::optional<std::string>> tokens[] = {
      {"fbdialog://success?x=1&auth_token=t%2B1&y", "t%2B1"},
      {"fbdialog://success?auth_token=abc#frag", "abc"},
      {"fbdialog://success?auth_token=", std::nullopt},
      {"fbdialog://auth_token=abc", std::nullopt},
  };
  for (const auto& [url, token] : tokens) EXPECT_EQ(FBLoginDialog::authToken(url), token) << url;
}

TEST_F(FBDialogTest, RequestsOfThePages) {
  const std::tuple<const char*, const char*, const char*> domains[] = {
      {"https://www.facebook.com", "facebook.com", ".facebook.com"},
      {"https://m.facebook.com:8443", ".facebook.com", ".facebook.com"},
      {"https://www.example.test", "facebook.com", ".www.example.test"},
      {"http://127.0.0.1:8080", "facebook.com", "127.0.0.1"},
      {"http://[::1]:8080", "facebook.com", "::1"},
  };
  for (auto [web, domain, expected] : domains)
    EXPECT_EQ(FBDialog::testCookieDomain(web, domain), expected) << web;

  // Each page: its address, method and form fields; and the test cookie for the site.
  session->begin(7, "sk", "ss", std::nullopt);
  EXPECT_EQ(lastURL(*show<FBLoginDialog>()),
            "https://www.facebook.test/login.php?fbdialog=1&connect_display=touch&api_key=apikey"
            "&next=fbdialog%3A%2F%2Fsuccess");
  auto permission = show<FBPermissionDialog>([](auto& d) { d.setPermission("photo_upload"); });
  EXPECT_EQ(lastURL(*permission),
            "https://www.facebook.test/connect/prompt_permission.php?display=touch&api_key=apikey"
            "&session_key=sk&ext_perm=photo_upload&next=fbdialog%3Asuccess"
            "&cancel=fbdialog%3Acancel");
  auto stream = show<FBStreamDialog>([](auto& d) {
    d.setAttachment("{\"name\":\"n\"}");
    d.setUserMessagePrompt("Say:");
  });
  const net::UrlRequest& post = engine(*stream).startedRequests().back();
  EXPECT_EQ(post.httpMethod() + " " + post.url().absoluteString(),
            "POST https://www.facebook.test/connect/prompt_feed.php?display=touch");
  std::string fields;
  for (const auto& [name, value] :
       ui::FormPostPage::fields(post).value_or(ui::FormPostPage::Fields{}))
    fields += name + "=" + value + ";";
  EXPECT_EQ(
      fields,
      "api_key=apikey;session_key=sk;preview=1;callback=fbdialog:success;cancel=fbdialog:cancel;"
      "attachment={\"name\":\"n\"};action_links=;target_id=;user_message_prompt=Say:;");
  EXPECT_TRUE(std::ranges::any_of(ui::WebCookieJar::shared().cookies(), [](const auto& c) {
    return c.name == "test_cookie" && c.domain == "facebook.test" && c.includeSubdomains;
  }));
}

// Log-in: the success address's token is exchanged for a session, whose delegates hear of it.
TEST_F(FBDialogTest, LoginExchangesTheTokenForASession) {
  // The answer, what is heard, the expiry kept.
  const std::tuple<std::string, Events, std::optional<store::Date>> rows[] = {
      // clang-format off
      {"<auth_getSession_response><uid>5</uid><session_key>sk</session_key><expires>1796860801"
       "</expires></auth_getSession_response>",
       {"login 5", "succeeded"}, store::Date{std::chrono::seconds(1796860801)}},
      {"<error_response><error_code>100</error_code></error_response>",
       {"failed 100", "not logged in"}, {}},
      {"<auth_getSession_response><uid>5</uid></auth_getSession_response>",
       {"failed 1", "not logged in"}, {}},
      // clang-format on
  };
  for (const auto& [answer, heard, expires] : rows) {
    SCOPED_TRACE(answer);
    session->logout();
    recorder.events.clear();
    getSessionAnswer = answer;
    auto dialog = show<FBLoginDialog>();
    engine(*dialog).finishLoad("Log in");
    navigate(*dialog, "fbdialog://success?x=1", T::Other);  // no token yet: nothing is asked
    navigate(*dialog, "fbdialog://success?auth_token=tok&x=1", T::Other);
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return dialog->isDismissed(); }));
    EXPECT_EQ(calls().back().params["auth_token"], "tok");
    EXPECT_EQ(recorder.events, heard);
    EXPECT_EQ(session->expirationDate(), expires);
  }
}

TEST_F(FBDialogTest, PermissionDialogs) {
  session->begin(7, "sk", "ss", std::nullopt);
  auto photo = [](FBPermissionDialog& d) { d.setPermission("photo_upload"); };
  // Granting succeeds and cancelling is only a cancel; a failed page load is a failure, an
  // interrupted one is not.
  navigate(*show<FBPermissionDialog>(photo), "fbdialog:success", T::FormSubmitted);
  navigate(*show<FBPermissionDialog>(photo), "fbdialog:cancel", T::LinkClicked);
  auto failing = show<FBPermissionDialog>(photo);
  engine(*failing).failLoad(net::Error(net::Error::kDomain, net::Error::Cancelled, "refused"));
  EXPECT_FALSE(failing->isDismissed());
  failing->loadURL("https://www.facebook.test/again", std::nullopt, {}, {});
  engine(*failing).failLoad(net::Error(net::Error::kDomain, net::Error::CannotConnectToHost, ""));
  EXPECT_EQ(recorder.events, (Events{"succeeded", "cancelled", "failed -1004"}));
}

// The image and label follow the session and the highlight; a tap while logged out shows the
// log-in panel.
TEST_F(FBDialogTest, LoginButtonFollowsTheSession) {
  auto button = std::make_shared<FBLoginButton>(graphics::Rect{}, session);
  auto shown = [&] {
    return button->imageView().image()->name() + " " + button->accessibilityLabel();
  };
  session->begin(7, "sk", "ss", std::nullopt);
  session->resume();  // heard by the button
  EXPECT_EQ(shown(), "FBDialog.bundle/images/logout.png Disconnect from Facebook");
  session->logout();
  button->setHighlighted(true);
  EXPECT_EQ(shown(), "FBDialog.bundle/images/login_down.png Connect to Facebook");
  button->sendActionsForTouchUpInside();
  ASSERT_EQ(window->subviews().size(), 1u);
  EXPECT_EQ(window->subviews()[0]->className(), "FBLoginDialog");
}

}  // namespace
