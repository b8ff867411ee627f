#include "platform/net/Url.h"

#include <gtest/gtest.h>

using net::Url;

// The parts of an address, "-" for those it lacks.
std::string parts(const Url& u) {
  return u.scheme() + "|" + u.host() + "|" + (u.port() ? std::to_string(*u.port()) : "-") + "|" +
         u.path() + "|" + u.query().value_or("-") + "|" + u.fragment().value_or("-");
}

TEST(Url, SplitsAddressesKeepingThemAsWritten) {
  // An address and its parts.
  const std::pair<const char*, const char*> rows[] = {
      {"HTTP://User@Example.COM:8080/a/b%20c?x=1&y=2#top",
       "HTTP|Example.COM|8080|/a/b%20c|x=1&y=2|top"},
      {"http://vemo.vn", "http|vemo.vn|-||-|-"},
      {"http://vemo.vn/?", "http|vemo.vn|-|/||-"},
      {"/Home.rss?x", "||-|/Home.rss|x|-"},
      {"http://[::1]:81/x", "http|::1|81|/x|-|-"}};
  for (auto [text, expected] : rows) {
    Url url = Url::parse(text).value();
    EXPECT_EQ(url.absoluteString(), text);
    EXPECT_EQ(parts(url), expected);
  }
  EXPECT_EQ(Url::parse(rows[0].first)->withoutQuery(), "HTTP://User@Example.COM:8080/a/b%20c");
  for (const char* bad : {"", "http://vemo.vn/a b", "http://vemo.vn/thế-giới", "http://vemo.vn/%zz",
                          "http://vemo.vn/100%", "http://vemo.vn:99999/", "http://vemo.vn:8a/",
                          "1http://vemo.vn/", "http://[::1/"})
    EXPECT_FALSE(Url::parse(bad)) << bad;
}

TEST(Url, EscapesAndUnescapesByTheirRules) {
  const struct {
    std::string (*rule)(std::string_view);
    const char *in, *out;
  } rows[] = {
      {net::escapeAddress, "http://vemo.vn/thế giới?a=1&b=x+y#f",
       "http://vemo.vn/th%E1%BA%BF%20gi%E1%BB%9Bi?a=1&b=x+y#f"},
      {net::escapeAddress, "a\"<>\\^`{|}\t", "a%22%3C%3E%5C%5E%60%7B%7C%7D%09"},
      // Valid escapes pass unchanged, so escaping twice is harmless; a stray % is escaped.
      {net::escapeAddress, "http://x/a%20b", "http://x/a%20b"},
      {net::escapeAddress, "http://x/100%?p=%41%4", "http://x/100%25?p=%41%254"},
      {net::escapeComponent, "a b&c=d/é~-._!*'();:@+$,?%#[]",
       "a%20b%26c%3Dd%2F%C3%A9~-._%21%2A%27%28%29%3B%3A%40%2B%24%2C%3F%25%23%5B%5D"},
      {net::unescape, "th%E1%BA%BF%20gi%e1%bb%9Bi", "thế giới"},
      {net::unescape, "a+b%2", "a+b%2"},
      {net::unescape, "%zz%", "%zz%"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.rule(row.in), row.out) << row.in;
  EXPECT_TRUE(Url::parse(net::escapeAddress("http://vemo.vn/Thời sự/tin mới")));
}
