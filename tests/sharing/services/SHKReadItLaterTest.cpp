#include "sharing/services/SHKReadItLater.h"

#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKReadItLaterTest : public WebServiceTest {};

// An accepted login is stored and the link goes straight out, without a share form.
TEST_F(SHKReadItLaterTest, LoginThenSendsWithoutAShareForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"wrong", "Login Error: Username and/or password is incorrect"}, {"p w", ""}};
  for (const auto& [password, message] : cases) {
    startOver();
    SHKSharer::shareItem("SHKReadItLater", SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
    submitForm({"ann", password});
    waitFor([&] { return !alertText().empty() || !endings().empty(); });
    EXPECT_EQ(alertText(), message);
    auto all = requests();
    ASSERT_EQ(all.size(), message.empty() ? 2u : 1u);
    EXPECT_EQ(all[0].path + " " + all[0].body,
              "/v2/auth apikey=&username=ann&password=" + net::escapeComponent(password));
    if (!message.empty()) continue;
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKReadItLater"), password);
    EXPECT_EQ(endings(), Strings{kFinish});
    EXPECT_EQ(all[1].path, "/v2/send");
  }
}

// Titles and tags are JSON-escaped, then form-encoded: a quotation mark, "&" or "=" neither
// breaks the JSON nor adds a field, and the sandbox reads the JSON back.
TEST_F(SHKReadItLaterTest, SendBody) {
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {std::nullopt, ""},
      {"", ""},
      {"a, \"b\"",
       "&update_tags={\"0\":{\"url\":\"http%3A%2F%2Fa.b%2F\",\"tags\":\"a,%20%5C%22b%5C%22\"}}"},
  };
  for (const auto& [tags, tail] : cases) {
    startOver();
    logIn("SHKReadItLater", "ann", "pw");
    auto item = SHKItem::URL(*net::Url::parse("http://a.b/"), "Tom \"&\" = x\n");
    item->setTags(tags);
    SHKSharer::shareItem("SHKReadItLater", item);
    waitForOutcome();
    EXPECT_EQ(endings(), Strings{kFinish});
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].body,
              "apikey=&username=ann&password=pw&new={\"0\":{\"url\":\"http%3A%2F%2Fa.b%2F\","
              "\"title\":\"Tom%20%5C%22%26%5C%22%20=%20x%5Cn\"}}" +
                  tail);
  }
}

TEST_F(SHKReadItLaterTest, SendResults) {
  const struct {
    std::string link, password;
    int status;  // 0: the sandbox's own answer
    std::string xError, alert;
  } cases[] = {
      {"http://a.b/", "wrong", 0, "", "Error: Could not authenticate you. Please relogin."},
      {"http://a.b/?sandbox-status=500", "pw", 0, "", "Error: Sandbox error 500"},
      {"http://a.b/", "pw", 503, "", "Error: There was a problem saving to Read It Later."},
      {"http://a.b/", "pw", 400, "%n%s %@", "Error: %n%s %@"},
  };
  for (const auto& c : cases) {
    startOver();
    if (c.status) {
      sandbox_.handle("SHKReadItLater", "api", "POST", "/v2/send",
                      [&](const SandboxRequest&, httplib::Response& r) {
                        r.status = c.status;
                        if (!c.xError.empty()) r.set_header("X-Error", c.xError);
                      });
    }
    logIn("SHKReadItLater", "ann", c.password);
    SHKSharer::shareItem("SHKReadItLater", SHKItem::URL(*net::Url::parse(c.link)));
    waitForOutcome();
    EXPECT_EQ(endings(), Strings{kFail}) << c.link;
    EXPECT_EQ(alertText(), c.alert);
    EXPECT_EQ(form() != nullptr, c.password == "wrong") << "the login again";
  }
}

}  // namespace
