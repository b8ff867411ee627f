#include "platform/net/Url.h"

#include <gtest/gtest.h>

using net::Url;

TEST(Url, SplitsAnAbsoluteAddressKeepingItAsWritten) {
  auto url = Url::parse("HTTP://User@Example.COM:8080/a/b%20c?x=1&y=2#top");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->absoluteString(), "HTTP://User@Example.COM:8080/a/b%20c?x=1&y=2#top");
  EXPECT_EQ(url->scheme(), "HTTP");
  EXPECT_EQ(url->host(), "Example.COM");
  EXPECT_EQ(url->port(), 8080);
  EXPECT_EQ(url->path(), "/a/b%20c");
  EXPECT_EQ(url->query(), "x=1&y=2");
  EXPECT_EQ(url->fragment(), "top");
  EXPECT_EQ(url->withoutQuery(), "HTTP://User@Example.COM:8080/a/b%20c");
}

TEST(Url, HandlesMissingPartsRelativeAddressesAndIpv6) {
  auto plain = Url::parse("http://vemo.vn");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->host(), "vemo.vn");
  EXPECT_FALSE(plain->port());
  EXPECT_EQ(plain->path(), "");
  EXPECT_FALSE(plain->query());

  auto emptyQuery = Url::parse("http://vemo.vn/?");
  ASSERT_TRUE(emptyQuery);
  EXPECT_EQ(emptyQuery->query(), "");

  auto relative = Url::parse("/Home.rss?x");
  ASSERT_TRUE(relative);
  EXPECT_EQ(relative->scheme(), "");
  EXPECT_EQ(relative->host(), "");
  EXPECT_EQ(relative->path(), "/Home.rss");

  auto v6 = Url::parse("http://[::1]:81/x");
  ASSERT_TRUE(v6);
  EXPECT_EQ(v6->host(), "::1");
  EXPECT_EQ(v6->port(), 81);
}

TEST(Url, RejectsTextThatIsNotALegalAddress) {
  EXPECT_FALSE(Url::parse(""));
  EXPECT_FALSE(Url::parse("http://vemo.vn/a b"));
  EXPECT_FALSE(Url::parse("http://vemo.vn/thế-giới"));
  EXPECT_FALSE(Url::parse("http://vemo.vn/%zz"));
  EXPECT_FALSE(Url::parse("http://vemo.vn/100%"));
  EXPECT_FALSE(Url::parse("http://vemo.vn:99999/"));
  EXPECT_FALSE(Url::parse("http://vemo.vn:8a/"));
  EXPECT_FALSE(Url::parse("1http://vemo.vn/"));
  EXPECT_FALSE(Url::parse("http://[::1/"));
}

TEST(Escaping, AddressRuleEscapesOnlyIllegalBytes) {
  EXPECT_EQ(net::escapeAddress("http://vemo.vn/thế giới?a=1&b=x+y#f"),
            "http://vemo.vn/th%E1%BA%BF%20gi%E1%BB%9Bi?a=1&b=x+y#f");
  EXPECT_EQ(net::escapeAddress("a\"<>\\^`{|}\t"), "a%22%3C%3E%5C%5E%60%7B%7C%7D%09");
  // Already escaped text passes unchanged, so escaping twice is harmless.
  std::string once = net::escapeAddress("http://x/a b");
  EXPECT_EQ(net::escapeAddress(once), once);
  EXPECT_TRUE(Url::parse(net::escapeAddress("http://vemo.vn/Thời sự/tin mới")));
  EXPECT_EQ(net::escapeAddress("http://x/100%?p=%41%4"), "http://x/100%25?p=%41%254");
}

TEST(Escaping, ComponentRuleKeepsOnlyUnreservedCharacters) {
  EXPECT_EQ(net::escapeComponent("a b&c=d/é~-._!*'();:@+$,?%#[]"),
            "a%20b%26c%3Dd%2F%C3%A9~-._%21%2A%27%28%29%3B%3A%40%2B%24%2C%3F%25%23%5B%5D");
  EXPECT_EQ(net::escapeComponent(""), "");
}

TEST(Escaping, UnescapeDecodesValidEscapesOnly) {
  EXPECT_EQ(net::unescape("th%E1%BA%BF%20gi%e1%bb%9Bi"), "thế giới");
  EXPECT_EQ(net::unescape("a+b%2"), "a+b%2");
  EXPECT_EQ(net::unescape("%zz%"), "%zz%");
  std::string text = "Tin nóng: 50% & \"hơn\"";
  EXPECT_EQ(net::unescape(net::escapeComponent(text)), text);
}
