#include <gtest/gtest.h>

#include "platform/ui/FormPostPage.h"
#include "platform/ui/WebCookieJar.h"
#include "tests/support/TempDir.h"

namespace {

net::UrlRequest post(const std::string& contentType, const std::string& body) {
  net::UrlRequest request(*net::Url::parse("http://site.example/connect/prompt_feed.php?x=1"));
  request.setHttpMethod("POST");
  if (!contentType.empty()) request.setValue("Content-Type", contentType);
  request.setHttpBody(body);
  return request;
}

}  // namespace

TEST(FormPostPage, ReadsTheFieldsOfFormBodies) {
  using Fields = ui::FormPostPage::Fields;
  const std::string part = "Content-Disposition: form-data; name=", mb = "multipart/form-data";
  // Content type, body, the fields read (nullopt: not a form this page can post).
  const std::tuple<std::string, std::string, std::optional<Fields>> cases[] = {
      // Each part closed by the next delimiter line, the last one too (no closing "--").
      {mb + "; boundary=3i2nd",
       "--3i2nd\r\n" + part + "\"a\"\r\n\r\n1\r\n--3i2nd\r\n" + part +
           "\"b\"\r\n\r\nx\r\ny\r\n--3i2nd\r\n",
       Fields{{"a", "1"}, {"b", "x\r\ny"}}},
      {"Multipart/Form-Data; boundary=\"q r\"",
       "--q r\r\n" + part + "\"a\"\r\n\r\n--\r\n--q r--\r\n", Fields{{"a", "--"}}},
      {"application/x-www-form-urlencoded",
       "a=1+2&b=%3C%26%3E&c&&d=", Fields{{"a", "1 2"}, {"b", "<&>"}, {"c", ""}, {"d", ""}}},
      {"", "", Fields{}},
      {"application/json", "{}", std::nullopt},
      {mb, "--B\r\n", std::nullopt},  // no boundary
      {mb + "; boundary=B", "--B\r\n" + part + "\"f\"; filename=\"a.jpg\"\r\n\r\nJPEG\r\n--B--",
       std::nullopt},
      {mb + "; boundary=B", "--B\r\n" + part + "\"a\"\r\n\r\ncut short", std::nullopt},
      {mb + "; boundary=B", "--B\r\nno headers\r\n--B--", std::nullopt}};
  for (const auto& [type, body, fields] : cases)
    EXPECT_EQ(ui::FormPostPage::fields(post(type, body)), fields) << type << " " << body;
}

TEST(FormPostPage, EscapesEveryValueOfThePage) {
  net::UrlRequest request =
      post("application/x-www-form-urlencoded",
           "na%22me%3E=%22%3E%3Cscript%3Ealert(1)%3C%2Fscript%3E%26amp%3B%0D%0Aline%27");
  request.setUrl(*net::Url::parse("http://site.example/a?b=1&c='2'"));
  std::optional<std::string> page = ui::FormPostPage::html(request);
  ASSERT_TRUE(page);
  EXPECT_NE(page->find("action=\"http://site.example/a?b=1&amp;c=&#39;2&#39;\""),
            std::string::npos);
  EXPECT_NE(page->find("<input type=\"hidden\" name=\"na&quot;me&gt;\" "
                       "value=\"&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&amp;amp;&#13;&#10;"
                       "line&#39;\">"),
            std::string::npos)
      << *page;
  EXPECT_EQ(page->find("<script>alert"), std::string::npos);
  EXPECT_FALSE(ui::FormPostPage::html(post("text/plain", "x")));
}

TEST(WebCookieJar, AddsListsAndDeletesInBothJars) {
  testing_support::TempDir dir;
  net::CookieStore::shared().removeAll();
  ui::WebCookieJar& jar = ui::WebCookieJar::shared();
  EXPECT_TRUE(jar.addCookie("test_cookie", "1", ".Facebook.example"));
  EXPECT_TRUE(jar.addCookie("s", "a=b", ".127.0.0.1", "/api"));
  EXPECT_TRUE(jar.addCookie("h", "2", "www.facebook.example"));
  for (auto [name, value] :
       {std::pair{"", "1"}, {"a b", "1"}, {"a;b", "1"}, {"a=b", "1"}, {"v", "1;2"}, {"v", "1\n2"}})
    EXPECT_FALSE(jar.addCookie(name, value, "x.example")) << name << value;
  EXPECT_FALSE(jar.addCookie("v", "1", ""));

  // Name, domain, whether subdomains get it, path; an address is host-only.
  std::vector<std::tuple<std::string, std::string, bool, std::string>> listed;
  for (const auto& c : jar.cookies())
    listed.emplace_back(c.name, c.domain, c.includeSubdomains, c.path);
  EXPECT_EQ(listed, (decltype(listed){{"test_cookie", "facebook.example", true, "/"},
                                      {"s", "127.0.0.1", false, "/api"},
                                      {"h", "www.facebook.example", false, "/"}}));
  auto sent =
      net::CookieStore::shared().cookiesForUrl(*net::Url::parse("http://m.facebook.example/"));
  EXPECT_TRUE(sent.size() == 1 && sent[0].name == "test_cookie");
  jar.deleteCookiesForDomain(".facebook.example");
  EXPECT_EQ(jar.cookies().size() + net::CookieStore::shared().cookies().size(), 2u);
}
