#include "facebook/FBDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "facebook/FBFeedDialog.h"
#include "facebook/FBLoginButton.h"
#include "facebook/FBLoginDialog.h"
#include "facebook/FBPermissionDialog.h"
#include "facebook/FBSession.h"
#include "facebook/FBStreamDialog.h"
#include "platform/net/CookieStore.h"
#include "platform/ui/Application.h"
#include "platform/ui/FormPostPage.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebCookieJar.h"
#include "platform/ui/Window.h"
#include "tests/facebook/FBTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using graphics::Rect;
using ui::WebViewNavigationType;

class TurningScreen : public ui::ViewController {
 public:
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
};

class Recorder : public FBDialogDelegate, public FBSessionDelegate {
 public:
  std::vector<std::string> events;
  bool openExternally = true;
  void dialogDidSucceed(FBDialog&) override { events.push_back("succeeded"); }
  void dialogDidCancel(FBDialog&) override { events.push_back("cancelled"); }
  void dialogDidFailWithError(FBDialog&, const net::Error& e) override {
    events.push_back("failed " + std::to_string(e.code()));
  }
  bool dialogShouldOpenURLInExternalBrowser(FBDialog&, const std::string&) override {
    return openExternally;
  }
  void sessionDidLogin(FBSession&, FBUid uid) override {
    events.push_back("login " + std::to_string(uid));
  }
  void sessionDidNotLogin(FBSession&) override { events.push_back("not logged in"); }
};

// A window, a session on the loopback server and the pages of the running dialog, on the
// virtual clock (which stands still while the log-in exchange is on the socket).
class FBDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(true);
    ui::Application::shared().reset();
    net::CookieStore::shared().removeAll();
    ui::Application::shared().setOpenURLHandler([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
    FBHosts hosts;
    hosts.api = server.url();
    hosts.web = "https://www.facebook.test";
    hosts.cookieDomain = "facebook.test";
    session = FBSession::create("apikey", std::string("secret"), std::nullopt, hosts);
    session->addDelegate(&recorder);
    window = std::make_unique<ui::Window>();
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    session->removeDelegate(&recorder);
    window.reset();
    base::RunLoop::main().runFor(0.6);
    server.stop();
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(false);
    ui::Application::shared().reset();
  }

  template <typename Dialog>
  std::shared_ptr<Dialog> show() {
    auto dialog = std::make_shared<Dialog>(session);
    dialog->setDelegate(&recorder);
    return dialog;
  }
  static ui::HeadlessWebEngine& engine(FBDialog& dialog) {
    return dynamic_cast<ui::HeadlessWebEngine&>(dialog.webView().engine());
  }
  // Whether the page may load `url`, which it starts in the way `type` says.
  static bool navigate(FBDialog& dialog, const char* url, WebViewNavigationType type) {
    return engine(dialog).navigate(net::UrlRequest(*net::Url::parse(url)), type);
  }
  static std::string lastURL(FBDialog& dialog) {
    return engine(dialog).startedRequests().back().url().absoluteString();
  }

  testing_support::TempDir dir;
  std::mutex mutex;  // guards the answer, which the server's thread reads
  std::string getSessionAnswer =
      "<auth_getSession_response><uid>9007199254740993</uid><session_key>sk</session_key>"
      "<secret>ss</secret><expires>0</expires></auth_getSession_response>";
  testing_support::RestServer server{[this](const testing_support::RestCall&) {
    std::lock_guard lock(mutex);
    return getSessionAnswer;
  }};
  std::shared_ptr<FBSession> session;
  std::unique_ptr<ui::Window> window;
  Recorder recorder;
  std::vector<std::string> opened;
};

TEST_F(FBDialogTest, PanelGeometryAndBounce) {
  auto dialog = show<FBStreamDialog>();
  dialog->show();
  ASSERT_TRUE(window->isAttached(*dialog));
  // The phone's panel: the application frame less 10 points all round, centred on the window;
  // a title bar of height t with icon, title and close box above the page.
  const double t = dialog->titleLabel().frame().height();
  EXPECT_GT(t, 8);
  const std::pair<ui::View*, Rect> frames[] = {
      {dialog.get(), {10, 20, 300, 440}},
      {&dialog->iconView(), {18, 10 + std::floor(t / 2 - 8), 16, 16}},
      {&dialog->titleLabel(), {42, 10, 278 - (t - 8 + 16 + 16), t}},
      {&dialog->closeButton(), {300 - (t + 10), 10, t, t}},
      {&dialog->webView(), {11, 10 + t, 278, 440 - (t + 21)}},
  };
  for (const auto& [view, frame] : frames) EXPECT_EQ(view->frame(), frame) << view->className();
  EXPECT_NEAR(dialog->spinner().frame().center().x, dialog->webView().frame().center().x, 0.5);
  EXPECT_NEAR(dialog->spinner().frame().center().y, dialog->webView().frame().center().y, 0.5);
  EXPECT_TRUE(dialog->spinner().isAnimating());

  // 0.001 → 1.1 over 0.2 s → 0.9 over 0.15 s → 1 over 0.15 s.
  const std::pair<double, double> steps[] = {{0.1, 0.5505}, {0.1, 1.1}, {0.15, 0.9}, {0.15, 1.0}};
  for (auto [seconds, scale] : steps) {
    base::RunLoop::main().runFor(seconds);
    EXPECT_NEAR(dialog->transform().scale, scale, 0.02) << seconds;
  }

  // The first page ends the spinner and names the panel.
  engine(*dialog).finishLoad("Post to Your Wall");
  EXPECT_EQ(dialog->title(), "Post to Your Wall");
  EXPECT_FALSE(dialog->spinner().isAnimating());
  EXPECT_TRUE(dialog->spinner().isHidden());

  // Turned to landscape with the window, the panel takes the landscape frame.
  window->setRootViewController(std::make_shared<TurningScreen>());
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  base::RunLoop::main().runFor(1);
  EXPECT_EQ(dialog->frame().size, (graphics::Size{460, 280}));
  EXPECT_EQ(dialog->webView().frame().width(), 438);
  EXPECT_EQ(engine(*dialog).evaluatedScripts().back(),
            "document.body.setAttribute('orientation', 90);");

  dialog->closeButton().sendActionsForTouchUpInside();
  base::RunLoop::main().runFor(0.3);
  EXPECT_FALSE(dialog->superview());
  EXPECT_EQ(recorder.events, std::vector<std::string>{"cancelled"});
}

// What the panel does with each navigation its page starts.
TEST_F(FBDialogTest, NavigationRules) {
  struct Row {
    const char* url;
    WebViewNavigationType type;
    bool openExternally;
    bool loads;
    std::vector<std::string> events;
    std::vector<std::string> opened;
  };
  using T = WebViewNavigationType;
  const Row rows[] = {
      {"fbdialog:cancel", T::LinkClicked, true, false, {"cancelled"}, {}},
      {"fbdialog:cancel", T::Other, true, false, {"cancelled"}, {}},  // a 302
      {"fbdialog:success", T::FormSubmitted, true, false, {"succeeded"}, {}},
      {"FBDIALOG://success?x=1", T::Other, true, false, {"succeeded"}, {}},
      {"fbdialog:cancel?x", T::LinkClicked, true, false, {"succeeded"}, {}},
      {"https://www.facebook.test/next.php", T::FormSubmitted, true, true, {}, {}},
      {"https://www.facebook.test/next.php", T::Other, true, true, {}, {}},
      {"https://elsewhere.test/a", T::LinkClicked, true, false, {}, {"https://elsewhere.test/a"}},
      {"http://elsewhere.test/a", T::LinkClicked, false, false, {}, {}},
      {"mailto:a@b.test", T::LinkClicked, true, false, {}, {}},
      {"file:///etc/passwd", T::LinkClicked, true, false, {}, {}},
      {"javascript:alert(1)", T::LinkClicked, true, false, {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.url);
    recorder.events.clear();
    opened.clear();
    recorder.openExternally = row.openExternally;
    auto dialog = show<FBStreamDialog>();
    dialog->show();
    engine(*dialog).finishLoad("page");
    EXPECT_EQ(navigate(*dialog, row.url, row.type), row.loads);
    EXPECT_EQ(recorder.events, row.events);
    EXPECT_EQ(opened, row.opened);
    dialog->dismissWithSuccess(false, false);
  }
}

TEST_F(FBDialogTest, AuthTokenComesFromTheQuery) {
  struct Row {
    const char* url;
    std::optional<std::string> token;
  };
  const Row rows[] = {
      {"fbdialog://success?auth_token=abc123", "abc123"},
      {"fbdialog://success?auth_token=abc&next=x", "abc"},
      {"fbdialog://success?x=1&auth_token=t%2B1&y", "t%2B1"},
      {"fbdialog://success?auth_token=abc#frag", "abc"},
      {"fbdialog://success?auth_token=", std::nullopt},
      {"fbdialog://success?other=1", std::nullopt},
      {"fbdialog://success", std::nullopt},
      {"fbdialog://auth_token=abc", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(FBLoginDialog::authToken(row.url), row.token) << row.url;
}

TEST_F(FBDialogTest, RequestsOfThePages) {
  EXPECT_EQ(FBDialog::generateURL("https://h/p", {}), "https://h/p");
  EXPECT_EQ(
      FBDialog::generateURL("https://h/p", {{"next", "fbdialog://success"}, {"q", "a&b=c d"}}),
      "https://h/p?next=fbdialog%3A%2F%2Fsuccess&q=a%26b%3Dc%20d");
  EXPECT_EQ(FBDialog::generatePostBody({{"a", "1"}, {"b", "x\r\ny"}}),
            "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n"
            "Content-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n"
            "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n"
            "Content-Disposition: form-data; name=\"b\"\r\n\r\nx\r\ny\r\n"
            "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n");
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
  auto login = show<FBLoginDialog>();
  login->show();
  EXPECT_EQ(lastURL(*login),
            "https://www.facebook.test/login.php?fbdialog=1&connect_display=touch&api_key=apikey"
            "&next=fbdialog%3A%2F%2Fsuccess");
  auto permission = show<FBPermissionDialog>();
  permission->setPermission("photo_upload");
  permission->show();
  EXPECT_EQ(lastURL(*permission),
            "https://www.facebook.test/connect/prompt_permission.php?display=touch&api_key=apikey"
            "&session_key=sk&ext_perm=photo_upload&next=fbdialog%3Asuccess"
            "&cancel=fbdialog%3Acancel");
  auto stream = show<FBStreamDialog>();
  stream->setAttachment("{\"name\":\"n\"}");
  stream->setUserMessagePrompt("Say:");
  stream->show();
  const net::UrlRequest& post = engine(*stream).startedRequests().back();
  EXPECT_EQ(post.url().absoluteString(),
            "https://www.facebook.test/connect/prompt_feed.php?display=touch");
  EXPECT_EQ(post.httpMethod(), "POST");
  auto fields = ui::FormPostPage::fields(post);
  ASSERT_TRUE(fields);
  EXPECT_EQ(*fields, (ui::FormPostPage::Fields{{"api_key", "apikey"},
                                               {"session_key", "sk"},
                                               {"preview", "1"},
                                               {"callback", "fbdialog:success"},
                                               {"cancel", "fbdialog:cancel"},
                                               {"attachment", "{\"name\":\"n\"}"},
                                               {"action_links", ""},
                                               {"target_id", ""},
                                               {"user_message_prompt", "Say:"}}));
  bool cookie = false;
  for (const auto& c : ui::WebCookieJar::shared().cookies())
    cookie |= c.name == "test_cookie" && c.value == "1" && c.domain == "facebook.test" &&
              c.includeSubdomains;
  EXPECT_TRUE(cookie);
  for (FBDialog* d : std::initializer_list<FBDialog*>{login.get(), permission.get(), stream.get()})
    d->dismissWithSuccess(false, false);
}

TEST_F(FBDialogTest, FeedInfoEscapesTheBodyText) {
  FBFeedDialog feed(session);
  EXPECT_EQ(feed.generateFeedInfo(), "{}");
  feed.setTemplateBundleId(123456789012345);
  feed.setTemplateData("{\"a\":1}");
  feed.setBodyGeneral("say \"hi\"\\\n\u2028</script>");
  EXPECT_EQ(feed.generateFeedInfo(),
            "{\"template_id\": 123456789012345,\"template_data\": {\"a\":1},"
            "\"body_general\": \"say \\\"hi\\\"\\\\\\n\\u2028</script>\"}");
}

// Log-in: the success address's token is exchanged for a session, whose delegates hear of it.
TEST_F(FBDialogTest, LoginExchangesTheTokenForASession) {
  struct Row {
    const char* name;
    const char* answer;  // nullptr: the default answer
    std::vector<std::string> events;
    long long expires;  // seconds since 1970; 0: none
  };
  const Row rows[] = {
      {"no expiry", nullptr, {"login 9007199254740993", "succeeded"}, 0},
      {"exact expiry",
       "<auth_getSession_response><uid>5</uid><session_key>sk</session_key>"
       "<expires>1796860801</expires></auth_getSession_response>",
       {"login 5", "succeeded"},
       1796860801},
      {"error answer",
       "<error_response><error_code>100</error_code><error_msg>bad token</error_msg>"
       "</error_response>",
       {"failed 100", "not logged in"},
       0},
      {"no session",
       "<auth_getSession_response><uid>5</uid></auth_getSession_response>",
       {"failed 1", "not logged in"},
       0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    session->logout();
    recorder.events.clear();
    server.clear();
    if (row.answer) {
      std::lock_guard lock(mutex);
      getSessionAnswer = row.answer;
    }
    auto dialog = show<FBLoginDialog>();
    dialog->show();
    engine(*dialog).finishLoad("Log in");
    // No token yet: the panel stays and nothing is asked.
    navigate(*dialog, "fbdialog://success?x=1", WebViewNavigationType::Other);
    EXPECT_FALSE(dialog->isDismissed());
    navigate(*dialog, "fbdialog://success?auth_token=tok&x=1", WebViewNavigationType::Other);
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return dialog->isDismissed(); }));
    EXPECT_EQ(recorder.events, row.events);
    ASSERT_EQ(server.calls().size(), 1u);
    EXPECT_EQ(server.calls()[0].params["auth_token"], "tok");
    EXPECT_EQ(session->isConnected(), row.events.back() == "succeeded");
    auto expires = session->expirationDate();
    EXPECT_EQ(
        expires
            ? std::chrono::duration_cast<std::chrono::seconds>(expires->time_since_epoch()).count()
            : 0,
        row.expires);
  }
}

TEST_F(FBDialogTest, PermissionDialogs) {
  session->begin(7, "sk", "ss", std::nullopt);
  // Cancelling is only a cancel; a failed page load is a failure.
  auto photo = show<FBPermissionDialog>();
  photo->setPermission("photo_upload");
  photo->show();
  navigate(*photo, "fbdialog:cancel", WebViewNavigationType::LinkClicked);
  auto failing = show<FBPermissionDialog>();
  failing->setPermission("photo_upload");
  failing->show();
  engine(*failing).failLoad(net::Error(net::Error::kDomain, net::Error::Cancelled, "refused"));
  EXPECT_FALSE(failing->isDismissed());
  failing->loadURL("https://www.facebook.test/again", std::nullopt, {}, {});
  engine(*failing).failLoad(net::Error(net::Error::kDomain, net::Error::CannotConnectToHost, ""));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"cancelled", "failed -1004"}));

  // Offline access goes on to the log-in page in the same panel.
  recorder.events.clear();
  auto offline = show<FBPermissionDialog>();
  offline->setPermission("offline_access");
  offline->show();
  engine(*offline).finishLoad("Allow");
  navigate(*offline, "fbdialog:success", WebViewNavigationType::FormSubmitted);
  base::RunLoop::main().runFor(0.05);  // virtual: whatever was due has run
  EXPECT_FALSE(offline->isDismissed());
  EXPECT_TRUE(lastURL(*offline).starts_with("https://www.facebook.test/login.php?"));
  navigate(*offline, "fbdialog://success?auth_token=t", WebViewNavigationType::Other);
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return offline->isDismissed(); }));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"login 9007199254740993", "succeeded"}));
}

TEST_F(FBDialogTest, LoginButtonFollowsTheSession) {
  FBLoginButton wide({}, session);
  wide.setStyle(FBLoginButton::Style::Wide);
  auto button = std::make_shared<FBLoginButton>(Rect{}, session);
  EXPECT_EQ(button->frame().size, (graphics::Size{96, 24}));
  const std::tuple<bool, bool, std::string, std::string> rows[] = {
      {false, false, "login.png", "Connect to Facebook"},
      {false, true, "login_down.png", "Connect to Facebook"},
      {true, false, "logout.png", "Disconnect from Facebook"},
      {true, true, "logout_down.png", "Disconnect from Facebook"},
  };
  for (auto [connected, highlighted, image, label] : rows) {
    if (connected) {
      session->begin(7, "sk", "ss", std::nullopt);
      session->resume();
    } else {
      session->logout();
    }
    button->setHighlighted(highlighted);
    EXPECT_EQ(button->imageView().image()->name(), "FBDialog.bundle/images/" + image);
    EXPECT_EQ(button->accessibilityLabel(), label);
  }
  EXPECT_EQ(wide.imageView().image()->name(), "FBDialog.bundle/images/logout.png");
  session->logout();
  EXPECT_EQ(wide.imageView().image()->name(), "FBDialog.bundle/images/login2.png");

  // A tap while logged out shows the log-in panel.
  button->setHighlighted(false);
  button->sendActionsForTouchUpInside();
  ASSERT_EQ(window->subviews().size(), 1u);
  EXPECT_EQ(window->subviews()[0]->className(), "FBLoginDialog");
}

}  // namespace
