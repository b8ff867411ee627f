#include "sharing/services/SHKTwitter.h"

#include "platform/graphics/Image.h"
#include "sharing/services/SHKTwitterForm.h"
#include "tests/sharing/core/SandboxSharingTest.h"

namespace {

class SHKTwitterTest : public SandboxSharingTest {
 protected:
  void SetUp() override {
    SandboxSharingTest::SetUp();
    useService("SHKTwitter",
               "[SHKTwitter]\nconsumer_key = tk\nconsumer_secret = t&secret\ncallback = " +
                   sandbox_.baseUrl() + "/SHKTwitter/web/callback\n",
               [] { return std::make_shared<SHKTwitter>(); });
  }
  SHKTwitterForm* start(std::shared_ptr<SHKItem> item) {
    sharer_ = SHKSharer::shareItem("SHKTwitter", std::move(item));
    if (!SHK::getAuthValueForKey("accessKey", "SHKTwitter") && !passPage()) return nullptr;
    return top<SHKTwitterForm>();
  }
  void sendFrom(SHKTwitterForm* f, const std::string& text) {
    f->textView()->setText(text);
    f->save();
    waitForEnd();
    runFor(1);
  }
  void answerUpdate(int status, const std::string& body) {
    answer("SHKTwitter", "api POST /1/statuses/update.json", status, body);
  }
  std::shared_ptr<SHKSharer> sharer_;
};

}  // namespace

// Counted in UTF-16 units, 115 with a picture; a text over the limit or empty is refused.
TEST_F(SHKTwitterTest, CounterAndLimitsInUtf16Units) {
  SHKTwitterForm f(std::make_shared<SHKTwitter>());
  f.view();
  std::string emoji70;
  for (int i = 0; i < 70; ++i) emoji70 += "\xF0\x9F\x98\x80";
  const std::string tooLong =
      "Message is too long: Twitter posts can only be 140 characters in length.";
  const std::tuple<std::string, bool, std::string, std::string> cases[] = {
      {std::string(140, 'a'), false, "0", ""},
      {std::string(141, 'a'), false, "-1 red", tooLong},
      {emoji70, false, "0", ""},
      {emoji70 + "a", false, "-1 red", tooLong},
      {std::string(115, 'a'), true, "Image + 0", ""},
      {std::string(116, 'a'), true, "Image + -1 red", tooLong},
      {"", false, "140", "Message is empty: You must enter a message in order to post."},
  };
  for (const auto& [text, picture, counter, refusal] : cases) {
    f.setHasAttachment(picture);
    f.textView()->setText(text);
    f.updateCounter();
    bool red = f.counter()->textColor().red == 1 && f.counter()->textColor().green == 0;
    EXPECT_EQ(f.counter()->text() + (red ? " red" : ""), counter);
    if (refusal.empty()) continue;
    f.save();
    EXPECT_EQ(alertText(), refusal) << counter;
    ui::AlertStack::shared().reset();
  }
}

// After the login the status is posted form-encoded; a refused one fails with the answer's
// message.
TEST_F(SHKTwitterTest, PostsTheStatusOrReportsTheRefusal) {
  for (int status : {200, 403}) {
    outcomes_.clear();
    SHKTwitterForm* f = start(SHKItem::text("Hello"));
    ASSERT_NE(f, nullptr);
    if (status == 403) answerUpdate(403, R"({"error":"Status is a duplicate."})");
    sendFrom(f, "Hello, world & more");
    EXPECT_EQ(endings(), Strings{status == 200 ? kFinish : kFail});
    EXPECT_EQ(alertText(), status == 200 ? "" : "Error: Status is a duplicate.");
    ui::AlertStack::shared().reset();
    runFor(3);
  }
  auto posts = calls("/1/statuses/update.json");
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[0].body, "status=Hello%2C%20world%20%26%20more");
}

// A used nonce means the login is no longer good: the share fails and the login page comes back;
// after it the compose screen shows again, alone (not on top of the first one).
TEST_F(SHKTwitterTest, UsedNonceAsksForTheLoginAgain) {
  SHKTwitterForm* f = start(SHKItem::text("x"));
  ASSERT_NE(f, nullptr);
  answerUpdate(401, R"({"error":"Invalid / used nonce"})");
  sendFrom(f, "text");
  EXPECT_EQ(endings(), Strings{kFail});
  ui::AlertStack::shared().reset();
  ASSERT_TRUE(passPage()) << "the login page again";
  f = top<SHKTwitterForm>();
  ASSERT_NE(f, nullptr) << "no compose screen after the new login";
  f->cancel();
  runFor(3);
}

TEST(SHKTwitterScan, ErrorMessagesPictureLinksAndUploadBytes) {
  const std::pair<const char*, const char*> errors[] = {
      {R"({"error":"Invalid / used nonce"})", "Invalid / used nonce"},
      {R"({"error":"a\"b"})", "a\\"},
      {R"({"error":"unterminated)", "unterminated"},
      {"not json \xff\xfe", "Unknown Error"},
  };
  for (const auto& [answer, message] : errors) EXPECT_EQ(SHKTwitter::errorMessage(answer), message);
  const std::pair<const char*, std::optional<std::string>> links[] = {
      {"<image><url>http://p/1</url></image>", "http://p/1"},
      {"<url></url>", ""},
      {"</url><url>", std::nullopt},
      {"<html>oops</html>", std::nullopt},
  };
  for (const auto& [answer, link] : links)
    EXPECT_EQ(SHKTwitter::pictureLink(answer), link) << answer;
  const std::string jpeg("\xFF\xD8\x00\x01", 4), b = "--0xKhTmLbOuNdArY";
  EXPECT_EQ(SHKTwitter::multipartBody(jpeg, "Caf\xC3\xA9"),
            b +
                "\r\nContent-Disposition: form-data; name=\"media\"; filename=\"upload.jpg\"\r\n"
                "Content-Type: image/jpg\r\n\r\n" +
                jpeg + "\r\n" + b +
                "\r\nContent-Disposition: form-data; name=\"message\"\r\n\r\nCaf\xC3\xA9\r\n" + b +
                "--\r\n");
}

// A link is shortened first; only a real short link is used, the long one otherwise.
TEST_F(SHKTwitterTest, LinksAreShortenedOrPostedLong) {
  SHK::setAuthValue("unused", "accessKey", "SHKTwitter");
  SHK::setAuthValue("unused", "accessSecret", "SHKTwitter");
  const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
      {"key", "http://news.example/a%20b", "Story http://bit.ly/s1", ""},
      {"key", "http://bit.ly/x%20y", "Story http://bit.ly/x y", ""},
      {"wrong", "http://news.example/a%20b", "Story http://news.example/a b",
       "Shorten URL Error: We could not shorten the URL."},
  };
  for (const auto& [apikey, url, status, alert] : cases) {
    useService("SHKTwitter", std::string("[SHKTwitter]\nshortener_apikey = ") + apikey,
               [] { return std::make_shared<SHKTwitter>(); });
    SHKTwitterForm* f = start(SHKItem::URL(*net::Url::parse(url), "Story"));
    ASSERT_NE(f, nullptr) << url;
    EXPECT_EQ(f->textView()->text(), status);
    // The alert comes before the compose screen, so it is up by now when there is one.
    EXPECT_EQ(alertText(), alert);
    ui::AlertStack::shared().reset();
    f->cancel();
    runFor(3);
  }
}

// A picture goes to the picture host first; its link is posted with the status, once.
TEST_F(SHKTwitterTest, PictureUploadThenStatusWithItsLink) {
  SHKTwitterForm* f = start(SHKItem::image(graphics::Image::filled({40, 30}, {}), "A picture"));
  ASSERT_NE(f, nullptr);
  sendFrom(f, "A picture");
  EXPECT_EQ(endings(), Strings{kFinish}) << alert();
  auto posts = calls("/1/statuses/update.json");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_TRUE(posts[0].body.starts_with("status=A%20picture%20http%3A%2F%2Fpics.example%2Fp"))
      << posts[0].body;
  runFor(3);
}
