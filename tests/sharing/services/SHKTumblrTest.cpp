#include "sharing/services/SHKTumblr.h"

#include "platform/graphics/Image.h"
#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

using Custom = std::vector<std::pair<std::string, std::string>>;

class SHKTumblrTest : public WebServiceTest {
 protected:
  // Sends `item` as a saved share form would, with `custom` values, and waits for the outcome.
  void send(std::shared_ptr<SHKItem> item, const Custom& custom,
            const std::string& password = "pw") {
    startOver();
    logIn("SHKTumblr", "ann@x.y", password, "email");
    for (const auto& [key, value] : custom) item->setCustomValue(value, key);
    auto sharer = SHKSharer::create("SHKTumblr");
    sharer->setItem(item);
    EXPECT_TRUE(sharer->tryToSend());
    waitForOutcome();
  }
};

TEST_F(SHKTumblrTest, FormPostBody) {
  struct Case {
    std::shared_ptr<SHKItem> item;
    std::optional<std::string> tags;
    Custom custom;
    std::string body;
  } cases[] = {
      {SHKItem::text("Hi & bye"),
       std::nullopt,
       {},
       "email=ann@x.y&password=pw&send-to-twitter=no&private=0&type=regular&body=Hi%20%26%20bye"},
      {SHKItem::URL(*net::Url::parse("http://a.b/?q=1"), "T=1&x"),
       "a&b=c, d",
       {{"slug", "my slug&x=1"}, {"twitter", "1"}, {"private", "1"}},
       "email=ann@x.y&password=pw&send-to-twitter=auto&tags=a%26b=c,%20d"
       "&slug=my%20slug%26x=1&private=1&type=link&url=http%3A%2F%2Fa.b%2F%3Fq%3D1&name=T=1%26x"},
  };
  for (auto& c : cases) {
    c.item->setTags(c.tags);
    if (c.item->shareType() == SHKShareTypeText) c.item->setTitle(std::nullopt);
    send(c.item, c.custom);
    EXPECT_EQ(endings(), Strings{kFinish});
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path + " " + requests()[0].body, "/api/write " + c.body);
  }
}

TEST_F(SHKTumblrTest, PicturePartsInOrder) {
  auto image = graphics::Image::filled({4, 3}, graphics::Color::rgb(200, 10, 10));
  const std::string jpeg = image->jpegData(0.9);
  auto part = [](const std::string& name, const std::string& value) {
    return "\r\n--0xKhTmLbOuNdArY\r\nContent-Disposition: form-data; name=\"" + name +
           "\"\r\n\r\n" + value;
  };
  const std::string head =
      part("email", "ann@x.y") + part("password", "pw") + part("type", "photo");
  const std::string data =
      "\r\n--0xKhTmLbOuNdArY\r\nContent-Disposition: form-data; name=\"data\"; "
      "filename=\"upload.jpg\"\r\nContent-Transfer-Encoding: image/jpg\r\n\r\n" +
      jpeg + "\r\n--0xKhTmLbOuNdArY--\r\n";
  struct Case {
    std::optional<std::string> tags;
    Custom custom;
    std::string middle;
  } cases[] = {
      {std::nullopt, {}, part("private", "0") + part("twitter", "no")},
      {"t1",
       {{"caption", "Cap"}, {"slug", "s"}, {"private", "1"}, {"twitter", "1"}},
       part("tags", "t1") + part("caption", "Cap") + part("slug", "s") + part("private", "1") +
           part("twitter", "auto")},
  };
  for (const auto& c : cases) {
    auto item = SHKItem::image(image);
    item->setTags(c.tags);
    send(item, c.custom);
    EXPECT_EQ(endings(), Strings{kFinish});
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(header(requests()[0], "Content-Type"),
              "multipart/form-data; boundary=0xKhTmLbOuNdArY");
    EXPECT_EQ(requests()[0].body, head + c.middle + data);
  }
}

TEST_F(SHKTumblrTest, Results) {
  const struct {
    std::shared_ptr<SHKItem> item;
    std::string password, alert;
  } cases[] = {
      {SHKItem::text("sandbox-status=500"), "pw",
       "Error: The service encountered an error. Please try again later."},
      {SHKItem::text("x"), "wrong", "Error: Invalid email or password."},
      {SHKItem::URL(*net::Url::parse("http://a.b/?sandbox-status=404")), "pw",
       "Error: There was a sending your post to Tumblr."},
      {SHKItem::image(graphics::Image::filled({2, 2}, graphics::Color::black())), "wrong",
       "Error: Invalid email or password."},
  };
  for (auto& c : cases) {
    // The sandbox reads the status from the title.
    if (c.item->shareType() == SHKShareTypeText) c.item->setTitle(c.item->text());
    send(c.item, {}, c.password);
    EXPECT_EQ(endings(), Strings{kFail});
    EXPECT_EQ(alertText(), c.alert);
    EXPECT_EQ(form() != nullptr, c.password == "wrong") << "the login again";
  }
}

TEST_F(SHKTumblrTest, Login) {
  const std::pair<std::string, std::string> cases[] = {
      {"wrong", "Login Error: Invalid email or password."}, {"pw", ""}};
  for (const auto& [password, message] : cases) {
    startOver();
    SHKSharer::shareItem("SHKTumblr", SHKItem::text("x"));
    runFor(1);
    submitForm({"ann@x.y", password});
    waitFor(
        [&] { return !alertText().empty() || SHK::getAuthValueForKey("password", "SHKTumblr"); });
    EXPECT_EQ(alertText(), message);
    EXPECT_EQ(requests().at(0).body, "email=ann@x.y&password=" + password);
    EXPECT_EQ(SHK::getAuthValueForKey("email", "SHKTumblr").has_value(), message.empty());
  }
}

}  // namespace
