#include "sharing/config/SHKServiceConfig.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using Strings = std::vector<std::string>;

TEST(SHKServiceConfig, DefaultsAreTheRealHostsOverHttps) {
  SHKServiceConfig config;
  for (const auto& service : SHKServiceConfig::services()) {
    for (const auto& key : service.keys) {
      if (key.kind != SHKServiceConfig::Kind::Host) continue;
      EXPECT_TRUE(config.value(service.name, key.name).starts_with("https://")) << key.name;
    }
  }
}

// Sections override the defaults; unknown sections and keys are warned about and skipped.
TEST(SHKServiceConfig, ReadsSectionsOverTheDefaults) {
  SHKServiceConfig config;
  Strings errors, warnings;
  ASSERT_TRUE(config.read(
      "site = http://news.example/\ncolour = red\n[SHKTwitter]\napi = https://t.example/b/\n"
      "consumer_key = abc=def\ncallback = http://news.example\napi_host = https://x.example\n"
      "[ SHKInstapaper ]\napi = http://127.0.0.1:8080/x\n[SHKPinboard]\napi = http://[::1]:9/\n"
      "[SHKMyspace]\napi = http://myspace.example\n[mail]\nserver = smtp.example.com\n"
      "security = tls\nuser = me\nfont = x\n",
      "vemo.conf", errors, warnings));
  EXPECT_EQ(warnings, (Strings{"vemo.conf:2: unknown key \"colour\" (ignored)",
                               "vemo.conf:7: unknown key \"api_host\" in [SHKTwitter] (ignored)",
                               "vemo.conf:13: unknown section [SHKMyspace] (ignored)",
                               "vemo.conf:18: unknown key \"font\" in [mail] (ignored)"}));
  // Callbacks are never loaded, so plain http to any host is fine there.
  const Strings values[] = {{"SHKTwitter", "api", "https://t.example/b"},
                            {"SHKTwitter", "consumer_key", "abc=def"},
                            {"SHKTwitter", "web", "https://twitter.com"},
                            {"SHKTwitter", "callback", "http://news.example"},
                            {"SHKInstapaper", "api", "http://127.0.0.1:8080/x"},
                            {"SHKPinboard", "api", "http://[::1]:9"}};
  for (const auto& v : values) EXPECT_EQ(config.value(v[0], v[1]), v[2]) << v[1];
  EXPECT_EQ(config.site() + " " + config.mail().user + " " +
                std::to_string(config.mail().effectivePort()),
            "http://news.example me 465");
}

TEST(SHKServiceConfig, WrongLinesAreErrorsWithTheirLineAndChangeNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"site = http://a\nsite\n", "vemo.conf:2: expected \"key = value\""},
      {"[SHKTwitter]\napi =\n", "vemo.conf:2: \"api\" needs a value"},
      {"[SHKTwitter]\n = x\n", "vemo.conf:2: expected a key name"},
      {"\n[SHKTwitter\n", "vemo.conf:2: expected a section name"},
      {"[SHKTwitter]\napi = ftp://t.example\n", "vemo.conf:2: \"api\" in [SHKTwitter] needs an"},
      {"[SHKInstapaper]\n\nweb = http://www.instapaper.com\n",
       "vemo.conf:3: \"web\" in [SHKInstapaper] uses plain http"},
      {"[SHKTumblr]\napi = https://u:p@t.example\n",
       "vemo.conf:2: \"api\" in [SHKTumblr] must not"},
      {"[SHKTumblr]\napi = https://t.example/?a=1\n", "vemo.conf:2: \"api\" in [SHKTumblr] takes"},
      {"site = news.example\n", "vemo.conf:1: \"site\" needs an address"},
      {"[mail]\nport = 0\n", "vemo.conf:2: \"port\" in [mail] needs a port number"},
      {"[mail]\nsecurity = ssl\n", "vemo.conf:2: \"security\" in [mail] is tls"},
      {"[mail]\nserver = smtp://x\n", "vemo.conf:2: \"server\" in [mail] needs a host name"},
      {"[mail]\npassword = secret\n", "vemo.conf:2: \"password\" in [mail] does not belong"},
      {"[mail]\nsecurity = none\nserver = smtp.example.com\n",
       "vemo.conf:3: \"security = none\" sends the password in clear"},
  };
  for (const auto& [text, error] : cases) {
    SHKServiceConfig config;
    Strings errors, warnings;
    EXPECT_FALSE(config.read(text, "vemo.conf", errors, warnings)) << text;
    ASSERT_EQ(errors.size(), 1u) << text;
    EXPECT_TRUE(errors[0].starts_with(error)) << errors[0];
    EXPECT_EQ(config.site() + config.value("SHKTwitter", "api"), "https://api.twitter.com") << text;
  }
}

TEST(SHKServiceConfig, LoopbackHostsAndTheSandbox) {
  for (const char* host : {"127.255.0.9", "[::1]", "LocalHost", "a.localhost", "::ffff:127.0.0.1"})
    EXPECT_TRUE(SHKServiceConfig::isLoopback(host)) << host;
  for (const char* host : {"128.0.0.1", "::2", "localhost.example", "127.0.0.1.example.com", ""})
    EXPECT_FALSE(SHKServiceConfig::isLoopback(host)) << host;
  // Every host points at the sandbox; the rest is kept.
  SHKServiceConfig config;
  config.pointServicesAt("http://127.0.0.1:4000/");
  EXPECT_EQ(config.value("SHKTwitter", "shortener"), "http://127.0.0.1:4000/SHKTwitter/shortener");
  EXPECT_EQ(config.value("SHKTwitter", "callback"), "http://vemo.invalid/");
}

TEST(SHKServiceConfig, LoadsFilesAndRefusesAMissingOneOnlyWhenNamed) {
  testing_support::TempDir dir;
  SHKServiceConfig config;
  Strings errors, warnings;
  EXPECT_TRUE(config.load(dir / "none.conf", false, errors, warnings));
  EXPECT_FALSE(config.load(dir / "none.conf", true, errors, warnings));
  testing_support::writeFile(dir / "a.conf", "site = https://news.example\r\n[SHKTumblr]\napi");
  EXPECT_FALSE(config.load(dir / "a.conf", true, errors, warnings));
  EXPECT_EQ(errors, (Strings{(dir / "none.conf").string() + ": cannot be read",
                             (dir / "a.conf").string() + ":3: expected \"key = value\""}));
}
