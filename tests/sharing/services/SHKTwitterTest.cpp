#include "sharing/services/SHKTwitter.h"

#include <gtest/gtest.h>

#include "platform/graphics/Image.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/services/SHKTwitterForm.h"
#include "tests/sharing/core/OAuthFlowTest.h"
#include "tests/support/OAuthlibCheck.h"

namespace {

class SHKTwitterTest : public OAuthFlowTest {
 protected:
  void SetUp() override {
    OAuthFlowTest::SetUp();
    useService("SHKTwitter",
               "[SHKTwitter]\nconsumer_key = tk\nconsumer_secret = t&secret\n"
               "shortener_apikey = key\ncallback = " +
                   sandbox_.baseUrl() + "/SHKTwitter/web/callback\n",
               [] { return std::make_shared<SHKTwitter>(); });
  }

  // The compose screen once it is up.
  SHKTwitterForm* form() {
    base::RunLoop::main().runUntilCondition(
        [] {
          auto nav = std::dynamic_pointer_cast<ui::NavigationController>(
              SHK::currentHelper().currentView());
          return nav && dynamic_cast<SHKTwitterForm*>(nav->topViewController());
        },
        10);
    auto nav =
        std::dynamic_pointer_cast<ui::NavigationController>(SHK::currentHelper().currentView());
    return nav ? dynamic_cast<SHKTwitterForm*>(nav->topViewController()) : nullptr;
  }
  // Logs in through the page unless a token is stored, and returns the compose screen.
  SHKTwitterForm* start(std::shared_ptr<SHKItem> item) {
    sharer_ = SHKSharer::shareItem("SHKTwitter", std::move(item));
    if (!SHK::getAuthValueForKey("accessKey", "SHKTwitter") && !passPage()) return nullptr;
    return form();
  }
  void sendFrom(SHKTwitterForm* f, const std::string& text) {
    f->textView()->setText(text);
    f->save();
    waitForEnd();
    runFor(1);
  }
  std::string oauthlib() {
    return testing_support::oauthlibCheck(sandbox_.baseUrl(), "tk=t%26secret",
                                          "/SHKTwitter/web/oauth/authorize/tokens");
  }
  static std::string counterOf(SHKTwitterForm& f, const std::string& text, bool picture) {
    f.setHasAttachment(picture);
    f.textView()->setText(text);
    f.updateCounter();
    bool red = f.counter()->textColor().red == 1 && f.counter()->textColor().green == 0;
    return f.counter()->text() + (red ? " red" : "");
  }

  std::shared_ptr<SHKSharer> sharer_;
};

}  // namespace

TEST_F(SHKTwitterTest, LogsInComposesAndPostsTheStatus) {
  SHKTwitterForm* f = start(SHKItem::text("Hello"));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->textView()->text(), "Hello");
  sendFrom(f, "Hello, world & more");
  EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFinishNotification});
  auto posts = calls("/1/statuses/update.json");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].body, "status=Hello%2C%20world%20%26%20more");
  EXPECT_TRUE(calls("/callback").empty());
  EXPECT_EQ(oauthlib(), "checked 3\n");
  runFor(3);
}

TEST_F(SHKTwitterTest, CounterAndLimitsInUtf16Units) {
  auto sharer = std::make_shared<SHKTwitter>();
  SHKTwitterForm f(sharer);
  f.view();
  std::string emoji70;
  for (int i = 0; i < 70; ++i) emoji70 += "\xF0\x9F\x98\x80";
  struct Case {
    std::string text;
    bool picture;
    const char* counter;
  } cases[] = {
      {std::string(140, 'a'), false, "0"},
      {std::string(141, 'a'), false, "-1 red"},
      {emoji70, false, "0"},
      {emoji70 + "a", false, "-1 red"},
      {std::string(115, 'a'), true, "Image + 0"},
      {std::string(116, 'a'), true, "Image + -1 red"},
      {"", false, "140"},
  };
  for (const auto& c : cases) EXPECT_EQ(counterOf(f, c.text, c.picture), c.counter) << c.counter;
  f.view()->setFrame({0, 0, 320, 200});
  f.view()->layoutIfNeeded();
  // The counter under the text view, where the window's editor over the text view leaves it seen.
  EXPECT_EQ(f.counter()->frame(), (graphics::Rect{320 - 165, 200 - 24, 150, 15}));
  EXPECT_EQ(f.textView()->frame(), (graphics::Rect{0, 0, 320, 170}));
}

TEST_F(SHKTwitterTest, ComposeScreenRefusesTooLongAndEmpty) {
  SHKTwitterForm* f = start(SHKItem::text("x"));
  ASSERT_NE(f, nullptr);
  struct Case {
    std::string text;
    bool picture;
    const char* alert;
  } cases[] = {
      {std::string(141, 'a'), false,
       "Message is too long: Twitter posts can only be 140 characters in length."},
      {std::string(116, 'a'), true,
       "Message is too long: Twitter posts can only be 140 characters in length."},
      {"", false, "Message is empty: You must enter a message in order to post."},
  };
  for (const auto& c : cases) {
    f->setHasAttachment(c.picture);
    f->textView()->setText(c.text);
    f->save();
    EXPECT_EQ(alert(), c.alert);
    ui::AlertStack::shared().reset();
  }
  EXPECT_TRUE(calls("/1/statuses/update.json").empty());
  f->cancel();
  runFor(3);
}

TEST_F(SHKTwitterTest, RefusedStatusesFail) {
  struct Case {
    int status;
    const char* body;
    const char* alert;
  } cases[] = {
      {403, R"({"request":"/1/statuses/update.json","error":"Status is a duplicate."})",
       "Error: Status is a duplicate."},
      {500, "<html>Over capacity</html>", "Error: Unknown Error"},
      {403, R"({"error": "spaced"})", "Error: Unknown Error"},
  };
  for (const auto& c : cases) {
    sandbox_.handle("SHKTwitter", "api", "POST", "/1/statuses/update.json",
                    [c](const SandboxRequest&, httplib::Response& res) {
                      res.status = c.status;
                      res.set_content(c.body, "application/json");
                    });
    outcomes_.clear();
    SHKTwitterForm* f = start(SHKItem::text("x"));
    ASSERT_NE(f, nullptr);
    sendFrom(f, "text");
    EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFailNotification});
    EXPECT_EQ(alert(), c.alert) << c.body;
    ui::AlertStack::shared().reset();
    runFor(3);
  }
  EXPECT_EQ(oauthlib(), "checked 5\n") << "the refused calls were signed right";
}

TEST(SHKTwitterScan, ErrorMessages) {
  struct Case {
    const char* answer;
    const char* message;
  } cases[] = {
      {R"({"error":"Invalid / used nonce"})", "Invalid / used nonce"},
      {R"({"error":"a\"b"})", "a\\"},
      {R"({"error":"unterminated)", "unterminated"},
      {"not json \xff\xfe", "Unknown Error"},
      {"", "Unknown Error"},
  };
  for (const auto& c : cases) EXPECT_EQ(SHKTwitter::errorMessage(c.answer), c.message);
}

TEST(SHKTwitterScan, PictureLinks) {
  struct Case {
    const char* answer;
    std::optional<std::string> link;
  } cases[] = {
      {"<image><url>http://p/1</url></image>", "http://p/1"},
      {"<URL>http://p/2</Url>", "http://p/2"},
      {"<url></url>", ""},
      {"</url><url>", std::nullopt},
      {"<html>oops</html>", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SHKTwitter::pictureLink(c.answer), c.link) << c.answer;
}

TEST(SHKTwitterUpload, MultipartBytes) {
  const std::string jpeg("\xFF\xD8\x00\x01", 4);
  EXPECT_EQ(SHKTwitter::multipartBody(jpeg, "Caf\xC3\xA9"),
            "--0xKhTmLbOuNdArY\r\n"
            "Content-Disposition: form-data; name=\"media\"; filename=\"upload.jpg\"\r\n"
            "Content-Type: image/jpg\r\n\r\n" +
                jpeg +
                "\r\n"
                "--0xKhTmLbOuNdArY\r\n"
                "Content-Disposition: form-data; name=\"message\"\r\n\r\n"
                "Caf\xC3\xA9\r\n"
                "--0xKhTmLbOuNdArY--\r\n");
}

// A link is shortened first; only a real short link is used, the long one otherwise.
TEST_F(SHKTwitterTest, LinksAreShortenedOrPostedLong) {
  SHK::setAuthValue("unused", "accessKey", "SHKTwitter");
  SHK::setAuthValue("unused", "accessSecret", "SHKTwitter");
  struct Case {
    const char* apikey;
    const char* url;
    const char* status;
    bool alert;
  } cases[] = {
      {"key", "http://news.example/a%20b", "Story http://bit.ly/s1", false},
      {"key", "http://bit.ly/x%20y", "Story http://bit.ly/x y", false},
      {"wrong", "http://news.example/a%20b", "Story http://news.example/a b", true},
  };
  for (const auto& c : cases) {
    std::vector<std::string> errors, warnings;
    SHKServiceConfig::shared().read(std::string("[SHKTwitter]\nshortener_apikey = ") + c.apikey,
                                    "test.conf", errors, warnings);
    auto item = SHKItem::URL(*net::Url::parse(c.url), "Story");
    SHKTwitterForm* f = start(item);
    ASSERT_NE(f, nullptr) << c.url;
    EXPECT_EQ(f->textView()->text(), c.status);
    // The alert comes before the compose screen, so it is up by now when there is one.
    EXPECT_EQ(!ui::AlertStack::shared().empty(), c.alert) << c.url;
    if (c.alert) {
      EXPECT_EQ(alert(), "Shorten URL Error: We could not shorten the URL.");
    }
    ui::AlertStack::shared().reset();
    f->cancel();
    runFor(3);
  }
  SHK::removeAuthValueForKey("accessKey", "SHKTwitter");
}

// A picture goes to the picture host, which checks the user with the delegated headers; its
// link is posted with the status, and the share reports once.
TEST_F(SHKTwitterTest, PictureUploadThenStatusWithItsLink) {
  auto item = SHKItem::image(graphics::Image::filled({40, 30}, graphics::Color::white()),
                             std::string("A picture"));
  SHKTwitterForm* f = start(item);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->hasAttachment());
  sendFrom(f, "A picture");
  runFor(2);
  EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFinishNotification}) << alert();
  auto uploads = calls("/api/2/upload.xml");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_NE(uploads[0].body.find("\r\n\r\nA picture\r\n--0xKhTmLbOuNdArY--\r\n"),
            std::string::npos);
  auto posts = calls("/1/statuses/update.json");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].body.rfind("status=A%20picture%20http%3A%2F%2Fpics.example%2Fp", 0), 0u)
      << posts[0].body;
  EXPECT_EQ(oauthlib(), "checked 4\n");
  runFor(3);
}

// A used nonce means the login is no longer good: the share fails and the login page comes back;
// after it the compose screen shows again, alone (not on top of the first one).
TEST_F(SHKTwitterTest, UsedNonceAsksForTheLoginAgain) {
  SHKTwitterForm* f = start(SHKItem::text("x"));
  ASSERT_NE(f, nullptr);
  sandbox_.handle("SHKTwitter", "api", "POST", "/1/statuses/update.json",
                  [](const SandboxRequest&, httplib::Response& res) {
                    res.status = 401;
                    res.set_content(R"({"error":"Invalid / used nonce"})", "application/json");
                  });
  sendFrom(f, "text");
  EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFailNotification});
  ui::AlertStack::shared().reset();
  ASSERT_NE(oauthView(), nullptr) << "the login page again";
  EXPECT_EQ(oauthlib(), "checked 4\n");
  ASSERT_TRUE(passPage());
  f = form();
  ASSERT_NE(f, nullptr) << "no compose screen after the new login";
  EXPECT_EQ(f->navigationController()->viewControllers().size(), 1u);
  f->cancel();
  runFor(3);
}

// With xAuth switched on the login is a form of name and password that goes straight to the
// access token; the follow switch (on at first) follows the account before the status is sent.
// A refused login shows the answer's text and keeps nothing.
TEST_F(SHKTwitterTest, XAuthLogsInWithNameAndPassword) {
  SHKSharer::registerClass("SHKTwitter", [] {
    auto twitter = std::make_shared<SHKTwitter>();
    twitter->setXAuth(true);
    return twitter;
  });
  struct Case {
    const char* password;
    const char* alert;  // "" when logged in
  } cases[] = {
      {"wrong", "Access Error: Invalid user name or password"},
      {"pw", ""},
  };
  for (const auto& c : cases) {
    sharer_ = SHKSharer::shareItem("SHKTwitter", SHKItem::text("x"));
    base::RunLoop::main().runUntilCondition(
        [] { return SHK::currentHelper().currentView() != nullptr; }, 10);
    auto nav =
        std::dynamic_pointer_cast<ui::NavigationController>(SHK::currentHelper().currentView());
    auto* login = nav ? dynamic_cast<SHKFormController*>(nav->topViewController()) : nullptr;
    ASSERT_NE(login, nullptr) << "no login form";
    EXPECT_EQ(login->sections().at(0).rows.size(), 3u);
    login->setValueForKey("username", "ann");
    login->setValueForKey("password", c.password);
    login->validateForm();
    if (*c.alert) {
      EXPECT_EQ(alert(), c.alert);
      EXPECT_FALSE(SHK::getAuthValueForKey("accessKey", "SHKTwitter"));
      ui::AlertStack::shared().reset();
      login->cancel();
      runFor(3);
      continue;
    }
    SHKTwitterForm* f = form();
    ASSERT_NE(f, nullptr) << alert();
    sendFrom(f, "By xAuth");
  }
  EXPECT_EQ(ends(), std::vector<std::string>{SHKSharer::kSendDidFinishNotification});
  // The follow request goes on its own, with no outcome to wait for.
  base::RunLoop::main().runUntilCondition(
      [&] { return !calls("/1/friendships/create/vemonews.json").empty(); }, 10);
  auto logins = calls("/oauth/access_token");
  ASSERT_EQ(logins.size(), 2u);
  EXPECT_EQ(logins[1].body, "x_auth_username=ann&x_auth_password=pw&x_auth_mode=client_auth");
  EXPECT_TRUE(calls("/oauth/request_token").empty());
  EXPECT_EQ(calls("/1/friendships/create/vemonews.json").size(), 1u);
  EXPECT_EQ(calls("/1/statuses/update.json").size(), 1u);
  EXPECT_FALSE(SHK::getAuthValueForKey("password", "SHKTwitter")) << "the password was kept";
  EXPECT_EQ(oauthlib(), "checked 4\n");
  runFor(3);
}
