#include "sharing/services/SHKTumblr.h"

#include "platform/graphics/Image.h"
#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

using Custom = std::vector<std::pair<std::string, std::string>>;

class SHKTumblrTest : public WebServiceTest {
 protected:
  // Sends `item` as a saved share form would, with `custom` values, and waits for the outcome.
  void send(std::shared_ptr<SHKItem> item, const Custom& custom = {},
            const std::string& password = "pw") {
    startOver();
    SHK::setAuthValue("ann@x.y", "email", "SHKTumblr");
    SHK::setAuthValue(password, "password", "SHKTumblr");
    for (const auto& [key, value] : custom) item->setCustomValue(value, key);
    auto sharer = SHKSharer::create("SHKTumblr");
    sharer->setItem(item);
    EXPECT_TRUE(sharer->tryToSend());
    waitForOutcome();
  }
};

TEST_F(SHKTumblrTest, FormPostBody) {
  auto text = SHKItem::text("Hi & bye"), link = SHKItem::URL(*net::Url::parse("http://a.b/?q=1"));
  text->setTitle(std::nullopt);
  link->setTitle("T=1&x");
  link->setTags("a&b=c, d");
  const std::tuple<std::shared_ptr<SHKItem>, Custom, std::string> cases[] = {
      {text, {}, "send-to-twitter=no&private=0&type=regular&body=Hi%20%26%20bye"},
      {link,
       {{"slug", "my slug&x=1"}, {"twitter", "1"}, {"private", "1"}},
       "send-to-twitter=auto&tags=a%26b=c,%20d&slug=my%20slug%26x=1&private=1&type=link"
       "&url=http%3A%2F%2Fa.b%2F%3Fq%3D1&name=T=1%26x"},
  };
  for (const auto& [item, custom, body] : cases) {
    send(item, custom);
    EXPECT_EQ(ending(), "done");
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path + " " + requests()[0].body,
              "/api/write email=ann@x.y&password=pw&" + body);
  }
}

TEST_F(SHKTumblrTest, PicturePartsInOrder) {
  auto image = graphics::Image::filled({4, 3}, graphics::Color::rgb(200, 10, 10));
  const std::string boundary = "\r\n--0xKhTmLbOuNdArY";
  auto part = [&](const std::string& name, const std::string& value) {
    return boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value;
  };
  const std::string head =
      part("email", "ann@x.y") + part("password", "pw") + part("type", "photo");
  const std::string data =
      boundary +
      "\r\nContent-Disposition: form-data; name=\"data\"; "
      "filename=\"upload.jpg\"\r\nContent-Transfer-Encoding: image/jpg\r\n\r\n" +
      image->jpegData(0.9) + boundary + "--\r\n";
  const std::tuple<std::optional<std::string>, Custom, std::string> cases[] = {
      {std::nullopt, {}, part("private", "0") + part("twitter", "no")},
      {"t1",
       {{"caption", "Cap"}, {"slug", "s"}, {"private", "1"}, {"twitter", "1"}},
       part("tags", "t1") + part("caption", "Cap") + part("slug", "s") + part("private", "1") +
           part("twitter", "auto")},
  };
  for (const auto& [tags, custom, middle] : cases) {
    auto item = SHKItem::image(image);
    item->setTags(tags);
    send(item, custom);
    EXPECT_EQ(ending(), "done");
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(header(requests()[0], "Content-Type"),
              "multipart/form-data; boundary=0xKhTmLbOuNdArY");
    EXPECT_EQ(requests()[0].body, head + middle + data);
  }
}

TEST_F(SHKTumblrTest, ResultsAndLogin) {
  const std::string refused = "Error: Invalid email or password.";
  auto titled = SHKItem::text("sandbox-status=500");  // the sandbox reads the status from the title
  titled->setTitle(titled->text());
  const std::tuple<std::shared_ptr<SHKItem>, const char*, std::string> cases[] = {
      {titled, "pw", "failed: Error: The service encountered an error. Please try again later."},
      {SHKItem::text("x"), "wrong", "failed: " + refused + " +form"},
      {SHKItem::URL(*net::Url::parse("http://a.b/?sandbox-status=404")), "pw",
       "failed: Error: There was a sending your post to Tumblr."},
      {SHKItem::image(graphics::Image::filled({2, 2}, {})), "wrong",
       "failed: " + refused + " +form"},
  };
  for (const auto& [item, password, outcome] : cases) {
    send(item, {}, password);
    EXPECT_EQ(ending(), outcome);
  }
  for (std::string password : {"wrong", "pw"}) {
    logInWithForm("SHKTumblr", "ann@x.y", password, "email");
    EXPECT_EQ(alertText(), password == "pw" ? "" : "Login " + refused);
    EXPECT_EQ(requests().at(0).body, "email=ann@x.y&password=" + password);
    EXPECT_EQ(SHK::getAuthValueForKey("email", "SHKTumblr").has_value(), password == "pw");
  }
}

}  // namespace
