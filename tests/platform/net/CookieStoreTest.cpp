#include "platform/net/CookieStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/TempDir.h"

namespace {

using Cookie = net::CookieStore::Cookie;

Cookie cookie(std::string domain, std::string name, bool subdomains = false, std::string path = "/",
              std::int64_t expires = 4102444800 /* 2100 */) {
  Cookie c;
  c.domain = std::move(domain);
  c.includeSubdomains = subdomains;
  c.path = std::move(path);
  c.expires = expires;
  c.name = std::move(name);
  c.value = "v-" + c.name;
  return c;
}

net::Url url(const std::string& text) {
  return *net::Url::parse(text);
}

std::vector<std::string> names(const std::vector<Cookie>& cookies) {
  std::vector<std::string> out;
  for (const auto& c : cookies) out.push_back(c.name);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(CookieStoreTest, MatchesDomainPathAndSecurity) {
  testing_support::TempDir dir;
  net::CookieStore store(dir / "cookies.txt");
  store.setCookie(cookie("example.com", "site", true));
  store.setCookie(cookie("www.example.com", "host"));
  store.setCookie(cookie("example.com", "deep", true, "/app"));
  Cookie secure = cookie("example.com", "secure", true);
  secure.secure = true;
  store.setCookie(secure);
  store.setCookie(cookie("example.com", "old", true, "/", 1000));
  store.setCookie(cookie("other.org", "other"));

  EXPECT_EQ(names(store.cookiesForUrl(url("http://www.example.com/"))),
            (std::vector<std::string>{"host", "site"}));
  EXPECT_EQ(names(store.cookiesForUrl(url("https://a.example.com/app/x"))),
            (std::vector<std::string>{"deep", "secure", "site"}));
  EXPECT_EQ(names(store.cookiesForUrl(url("http://example.com/application"))),
            (std::vector<std::string>{"site"}));
  EXPECT_TRUE(store.cookiesForUrl(url("http://badexample.com/")).empty());
}

TEST(CookieStoreTest, DeletesByDomainAndByUrl) {
  testing_support::TempDir dir;
  net::CookieStore store(dir / "cookies.txt");
  store.setCookie(cookie("facebook.com", "a", true));
  store.setCookie(cookie("m.facebook.com", "b"));
  store.setCookie(cookie("twitter.com", "c", true));
  store.setCookie(cookie("twitter.com", "d", true, "/oauth"));
  store.deleteCookiesForDomain(".facebook.com");
  EXPECT_EQ(names(store.cookies()), (std::vector<std::string>{"c", "d"}));
  store.deleteCookiesForUrl(url("http://api.twitter.com/"));
  EXPECT_EQ(names(store.cookies()), (std::vector<std::string>{"d"}));
}

TEST(CookieStoreTest, SavesOnlyLastingCookiesInAPrivateFile) {
  testing_support::TempDir dir;
  auto file = dir / "data" / "vemo" / "cookies.txt";
  {
    net::CookieStore store(file);
    Cookie lasting = cookie("example.com", "keep", true, "/p");
    lasting.httpOnly = true;
    store.setCookie(lasting);
    store.setCookie(cookie("example.com", "session", false, "/", 0));
    // A line break in a value would smuggle in a cookie of its own.
    Cookie forged = cookie("example.com", "forged");
    forged.value = "x\nevil.com\tFALSE\t/\tFALSE\t0\tevil\t1";
    store.setCookie(forged);
    EXPECT_EQ(names(store.cookies()), (std::vector<std::string>{"keep", "session"}));
  }
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  net::CookieStore reopened(file);
  auto cookies = reopened.cookies();
  ASSERT_EQ(cookies.size(), 1u);
  Cookie expected = cookie("example.com", "keep", true, "/p");
  expected.httpOnly = true;
  EXPECT_EQ(cookies[0], expected);

  reopened.removeAll();
  EXPECT_TRUE(net::CookieStore(file).cookies().empty());
}

// Whatever lies next to the file under a name a writer might pick is neither followed nor reused.
TEST(CookieStoreTest, SavingTouchesNothingButTheFile) {
  testing_support::TempDir dir;
  auto file = dir / "cookies.txt";
  testing_support::writeFile(dir / "other.txt", "someone else's file");
  std::filesystem::create_symlink(dir / "other.txt", dir / "cookies.txt.tmp");

  net::CookieStore store(file);
  store.setCookie(cookie("example.com", "a"));
  EXPECT_EQ(testing_support::readFile(dir / "other.txt"), "someone else's file");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "cookies.txt.tmp"));
  EXPECT_FALSE(std::filesystem::is_symlink(file));
  EXPECT_EQ(names(net::CookieStore(file).cookies()), (std::vector<std::string>{"a"}));
}

TEST(CookieStoreTest, ReadsTheFileWithoutMalformedExpiredOrDuplicateCookies) {
  testing_support::TempDir dir;
  testing_support::writeFile(dir / "c.txt",
                             "# Netscape HTTP Cookie File\ngarbage\n\t\t\n"
                             "example.com\tFALSE\t/\tFALSE\t4102444800\tok\t1\n"
                             "example.com\tFALSE\t/\tFALSE\t1000\texpired\t1\n"
                             "example.com\tFALSE\t\tFALSE\t4102444800\tok\t2\n");
  net::CookieStore store(dir / "c.txt");
  // A cookie without a path is the one under "/".
  auto cookies = store.cookies();
  ASSERT_EQ(names(cookies), (std::vector<std::string>{"ok"}));
  EXPECT_EQ(cookies[0].value, "2");
}

}  // namespace
