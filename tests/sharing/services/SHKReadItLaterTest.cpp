#include "sharing/services/SHKReadItLater.h"

#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKReadItLaterTest : public WebServiceTest {};

// An accepted login is stored and the link goes straight out, without a share form.
TEST_F(SHKReadItLaterTest, LoginThenSendsWithoutAShareForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"wrong", "none: Login Error: Username and/or password is incorrect +form"}, {"p w", "done"}};
  for (const auto& [password, outcome] : cases) {
    logInWithForm("SHKReadItLater", "ann", password);
    EXPECT_EQ(ending(), outcome);
    auto all = requests();
    ASSERT_EQ(all.size(), password == "wrong" ? 1u : 2u);
    EXPECT_EQ(all[0].path + " " + all[0].body,
              "/v2/auth apikey=&username=ann&password=" + net::escapeComponent(password));
    EXPECT_EQ(all.back().path, password == "wrong" ? "/v2/auth" : "/v2/send");
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKReadItLater").value_or("wrong"), password);
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
    auto item = SHKItem::URL(*net::Url::parse("http://a.b/"), "Tom \"&\" = x\n");
    item->setTags(tags);
    shareLoggedIn("SHKReadItLater", item, "ann", "pw");
    EXPECT_EQ(ending(), "done");
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].body,
              "apikey=&username=ann&password=pw&new={\"0\":{\"url\":\"http%3A%2F%2Fa.b%2F\","
              "\"title\":\"Tom%20%5C%22%26%5C%22%20=%20x%5Cn\"}}" +
                  tail);
  }
}

TEST_F(SHKReadItLaterTest, SendResults) {
  const struct {
    const char *link, *password;
    int status;  // 0: the sandbox's own answer
    const char *xError, *outcome;
  } cases[] = {
      {"http://a.b/", "wrong", 0, "",
       "failed: Error: Could not authenticate you. Please relogin. +form"},
      {"http://a.b/?sandbox-status=500", "pw", 0, "", "failed: Error: Sandbox error 500"},
      {"http://a.b/", "pw", 503, "", "failed: Error: There was a problem saving to Read It Later."},
      {"http://a.b/", "pw", 400, "%n%s %@", "failed: Error: %n%s %@"},
  };
  for (const auto& c : cases) {
    if (c.status) {  // the sandbox's own answers come first
      sandbox_.handle("SHKReadItLater", "api", "POST", "/v2/send",
                      [&](const SandboxRequest&, httplib::Response& r) {
                        r.status = c.status;
                        if (*c.xError) r.set_header("X-Error", c.xError);
                      });
    }
    shareLoggedIn("SHKReadItLater", SHKItem::URL(*net::Url::parse(c.link)), "ann", c.password);
    EXPECT_EQ(ending(), c.outcome) << c.link;
  }
}

}  // namespace
