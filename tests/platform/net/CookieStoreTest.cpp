#include "platform/net/CookieStore.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

using Cookie = net::CookieStore::Cookie;
using Names = std::vector<std::string>;

Cookie cookie(std::string domain, std::string name, bool subdomains = false, std::string path = "/",
              std::int64_t expires = 4102444800 /* 2100 */) {
  return {domain,  subdomains, path,        /*secure*/ false,
          expires, name,       "v-" + name, /*httpOnly*/ false};
}

Names names(const std::vector<Cookie>& cookies) {
  Names out;
  for (const auto& c : cookies) out.push_back(c.name);
  std::sort(out.begin(), out.end());
  return out;
}

class CookieStoreTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::filesystem::path file = dir / "data" / "cookies.txt";
  net::CookieStore store{file};
};

TEST_F(CookieStoreTest, MatchesDomainPathAndSecurityAndDeletesByDomainOrUrl) {
  Cookie secure = cookie("example.com", "secure", true);
  secure.secure = true;
  for (const Cookie& c : {cookie("example.com", "site", true), cookie("www.example.com", "host"),
                          cookie("example.com", "deep", true, "/app"), secure,
                          cookie("example.com", "old", true, "/", 1000),
                          cookie("m.example.com", "mobile"), cookie("other.org", "other")})
    store.setCookie(c);
  for (auto [address, expected] : {std::pair{"http://www.example.com/", Names{"host", "site"}},
                                   {"https://a.example.com/app/x", Names{"deep", "secure", "site"}},
                                   {"http://example.com/application", Names{"site"}},
                                   {"http://badexample.com/", Names{}}})
    EXPECT_EQ(names(store.cookiesForUrl(*net::Url::parse(address))), expected) << address;
  store.deleteCookiesForUrl(*net::Url::parse("http://www.example.com/"));
  EXPECT_EQ(names(store.cookies()), (Names{"deep", "mobile", "other", "secure"}));
  store.deleteCookiesForDomain(".example.com");
  EXPECT_EQ(names(store.cookies()), Names{"other"});
}

// Only lasting cookies are saved, in a private file; whatever lies next to it under a name a
// writer might pick is neither followed nor reused.
TEST_F(CookieStoreTest, SavesOnlyLastingCookiesInAPrivateFileAndTouchesNothingElse) {
  std::filesystem::create_directories(file.parent_path());
  testing_support::writeFile(dir / "other.txt", "someone else's file");
  std::filesystem::create_symlink(dir / "other.txt", file.string() + ".tmp");
  Cookie lasting = cookie("example.com", "keep", true, "/p");
  lasting.httpOnly = true;
  store.setCookie(lasting);
  store.setCookie(cookie("example.com", "session", false, "/", 0));
  // A line break in a value would smuggle in a cookie of its own.
  store.setCookie({.domain = "example.com", .name = "forged", .value = "x\nevil.com\tFALSE\t/\t1"});
  EXPECT_EQ(names(store.cookies()), (Names{"keep", "session"}));
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0600));
  EXPECT_EQ(testing_support::readFile(dir / "other.txt"), "someone else's file");
  EXPECT_EQ(net::CookieStore(file).cookies(), std::vector<Cookie>{lasting});
  store.removeAll();
  EXPECT_TRUE(net::CookieStore(file).cookies().empty());
}

TEST_F(CookieStoreTest, ReadsTheFileWithoutMalformedExpiredOrDuplicateCookies) {
  testing_support::writeFile(dir / "c.txt",
                             "# Netscape HTTP Cookie File\ngarbage\n\t\t\n"
                             "example.com\tFALSE\t/\tFALSE\t4102444800\tok\t1\n"
                             "example.com\tFALSE\t/\tFALSE\t1000\texpired\t1\n"
                             "example.com\tFALSE\t\tFALSE\t4102444800\tok\t2\n");
  // A cookie without a path is the one under "/".
  auto cookies = net::CookieStore(dir / "c.txt").cookies();
  ASSERT_EQ(names(cookies), Names{"ok"});
  EXPECT_EQ(cookies[0].value, "2");
}

}  // namespace
