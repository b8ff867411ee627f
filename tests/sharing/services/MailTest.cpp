#include <glib.h>

#include "sharing/services/SHKMail.h"
#include "tests/sharing/core/SharingTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SmtpSink.h"

namespace {

std::string decodeBase64(const std::string& text) {
  gsize length = 0;
  guchar* bytes = g_base64_decode(text.c_str(), &length);
  std::string out(reinterpret_cast<char*>(bytes), length);
  g_free(bytes);
  return out;
}

// The Base64 content of the MIME part whose headers contain `marker`.
std::string partContent(const std::string& message, const std::string& marker) {
  size_t at = message.find(marker);
  if (at == std::string::npos) return "(no part)";
  size_t start = message.find("\r\n\r\n", at) + 4;
  size_t end = message.find("\r\n--", start);
  return decodeBase64(message.substr(start, end == std::string::npos ? end : end - start));
}

// The value of the message's header `name`, on one line.
std::string headerValue(const std::string& message, const std::string& name) {
  size_t at = message.find("\r\n" + name + ": ");
  if (at == std::string::npos) return "";
  at += name.size() + 4;
  return message.substr(at, message.find("\r\n", at) - at);
}

TEST(MailMessageTest, HeadersCannotBeInjectedAndNonAsciiIsEncoded) {
  MailMessage m;
  m.from = "me@vemo.vn";
  m.to = {"ann@vemo.vn"};
  m.subject = "Tin nóng\r\nBcc: victim@evil.example\n\u200F<b>x</b>";
  m.htmlBody = "<p>xin chào</p>";
  m.attachments.push_back({"ảnh \"1\".jpg", "image/jpeg\r\nX-Evil: 1", {1, 2, 3}});
  std::string bytes = m.build("BOUNDARY", "Mon, 07 Dec 2026 00:00:00 +0000");
  EXPECT_EQ(bytes.find("\nBcc:"), std::string::npos);
  EXPECT_EQ(bytes.find("\nX-Evil"), std::string::npos);
  EXPECT_NE(bytes.find("filename*=UTF-8''%E1%BA%A3nh%20%221%22.jpg"), std::string::npos);
  EXPECT_NE(bytes.find("Content-Type: application/octet-stream"), std::string::npos);
  EXPECT_EQ(partContent(bytes, "text/html"), "<p>xin chào</p>");
  EXPECT_EQ(partContent(bytes, "attachment;"), std::string("\1\2\3"));

  EXPECT_TRUE(MailMessage::isValidAddress("a.b+c@x.y"));
  for (const char* bad : {"ann@vemo.vn\r\nRCPT TO:<x@y>", "ann <ann@vemo.vn>", "a@b,c@d",
                          "@vemo.vn", "ann@", "ann"}) {
    EXPECT_FALSE(MailMessage::isValidAddress(bad)) << bad;
  }
  EXPECT_EQ(MailMessage::splitAddresses(" a@x , ,b@y,"), (Strings{"a@x", "b@y"}));
}

// The body is made from the item (a link's escapes decoded), escaped, and stored with the item;
// a stored body is used as it is, markup and all.
TEST(MailBodyTest, BodyFromTheItemEscapedAndStoredOnce) {
  const std::pair<std::shared_ptr<SHKItem>, std::string> cases[] = {
      {SHKItem::text("Xin <chào> & \"bạn\""), "|Xin &lt;chào&gt; &amp; &quot;bạn&quot;|0"},
      {SHKItem::URL(*net::Url::parse("https://vemo.vn/a%20b?q=%3Cx%3E"), "Tiêu đề"),
       "Tiêu đề|https://vemo.vn/a b?q=&lt;x&gt;|0"},
      {SHKItem::file({'a'}, "bài.txt", "text/plain"), "|Attached: bài.txt|1"},
  };
  for (const auto& [item, expected] : cases) {
    MailMessage m = SHKMail::messageForItem(*item);
    EXPECT_EQ(m.subject + "|" + m.htmlBody + "|" + std::to_string(m.attachments.size()), expected);
    EXPECT_EQ(item->customValueForKey("body")->view().asString(), m.htmlBody);
  }
  auto item = SHKItem::text("new text");
  item->setCustomValue("<i>kept</i>", "body");
  EXPECT_EQ(SHKMail::messageForItem(*item).htmlBody, "<i>kept</i>");
}

class MailTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    SHKMail::registerService();
  }
  void TearDown() override {
    SHKServiceConfig::shared() = SHKServiceConfig();
    SharingTest::TearDown();
  }
  void configure(int port, const std::string& extra = "") {
    Strings errors, warnings;
    ASSERT_TRUE(SHKServiceConfig::shared().read(
        "[mail]\nserver = 127.0.0.1\nport = " + std::to_string(port) +
            "\nsecurity = none\nsender = vemo@vemo.vn\n" + extra,
        "vemo.conf", errors, warnings));
  }
  MailComposeViewController* composer() { return shown<MailComposeViewController>(); }
  void share(std::shared_ptr<SHKItem> item, const std::string& to, const std::string& cc = "",
             const std::string& password = "") {
    outcomes_.clear();
    SHKSharer::shareItem("SHKMail", std::move(item));
    runFor(1);
    ASSERT_NE(composer(), nullptr);
    composer()->view();
    composer()->toField()->editText(to);
    composer()->ccField()->editText(cc);
    if (composer()->passwordField()) composer()->passwordField()->editText(password);
    composer()->navigationItem().rightBarButtonItem()->press();
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return !outcomes_.empty(); }));
    runFor(1);
  }
};

TEST_F(MailTest, DeliversProperMimeToARealSmtpServer) {
  EXPECT_FALSE(SHKSharer::create("SHKMail")->canShare()) << "no account, no e-mail";
  testing_support::SmtpSink sink(dir_.path() / "sink");
  configure(sink.port());
  std::vector<uint8_t> bytes(300000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  share(SHKItem::file(bytes, "báo cáo.pdf", "application/pdf", "Báo cáo <tuần>"), "ann@vemo.vn",
        "bob@vemo.vn");
  EXPECT_EQ(outcomes_, Strings{kFinish});
  Strings messages = sink.messages();
  ASSERT_EQ(messages.size(), 1u);
  const std::string& m = messages[0];
  EXPECT_EQ(headerValue(m, "X-Envelope-To"), "ann@vemo.vn,bob@vemo.vn");
  // One encoded word is enough for this subject.
  std::string subject = headerValue(m, "Subject");
  ASSERT_TRUE(subject.starts_with("=?UTF-8?B?")) << subject;
  EXPECT_EQ(decodeBase64(subject.substr(10, subject.size() - 12)), "Báo cáo <tuần>");
  EXPECT_EQ(partContent(m, "text/html"), "Attached: Báo cáo &lt;tuần&gt;");
  EXPECT_EQ(partContent(m, "application/pdf"), std::string(bytes.begin(), bytes.end()));
}

// Refusals are shown and reported as failures, and no password is kept; one that worked is kept
// and not asked again.
TEST_F(MailTest, ServerRefusalsAndThePassword) {
  const struct {
    const char* name;
    Strings sinkArgs;
    std::string to, password, shown;
  } cases[] = {
      {"recipient refused", {"--refuse-rcpt", "nobody@vemo.vn"}, "nobody@vemo.vn", "", "550"},
      {"login refused", {"--user", "ann", "--password", "s3cr&t"}, "ann@vemo.vn", "wrong", "535"},
      {"login", {"--user", "ann", "--password", "s3cr&t"}, "ann@vemo.vn", "s3cr&t", ""},
      {"login kept", {"--user", "ann", "--password", "s3cr&t"}, "ann@vemo.vn", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui::AlertStack::shared().reset();
    testing_support::SmtpSink sink(dir_.path() / c.name, c.sinkArgs);
    configure(sink.port(), c.sinkArgs[0] == "--user" ? "user = ann\n" : "");
    share(SHKItem::text("hello"), c.to, "", c.password);
    EXPECT_EQ(outcomes_, Strings{c.shown.empty() ? kFinish : kFail});
    EXPECT_NE(alertText().find(c.shown), std::string::npos) << alertText();
    EXPECT_EQ(sink.messages().size(), c.shown.empty() ? 1u : 0u);
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKMail").value_or(""),
              c.shown.empty() ? "s3cr&t" : "");
  }
}

TEST(SmtpDeliveryTest, RefusesPlainTextAwayFromLoopbackAndGivesUpOnSilentServers) {
  testing_support::LoopbackServer silent;  // waits for a request: the greeting never comes
  silent.start();
  testing_support::TempDir dir;
  testing_support::SmtpSink sink(dir.path() / "sink");  // offers no STARTTLS
  using Security = SHKServiceConfig::Security;
  const std::pair<SHKServiceConfig::Mail, std::string> cases[] = {
      {{"smtp.example.com", 25, Security::None, "", ""}, "without encryption"},
      {{"127.0.0.1", silent.port(), Security::None, "", ""}, "could not be sent"},
      {{"127.0.0.1", sink.port(), Security::StartTls, "", ""}, "could not be sent"},
  };
  for (const auto& [mail, error] : cases) {
    auto result = SmtpDelivery::send({mail, "", 1}, "a@b.c", {"d@e.f"}, "Subject: x\r\n\r\nx\r\n");
    EXPECT_FALSE(result.ok) << mail.port;
    EXPECT_NE(result.error.find(error), std::string::npos) << result.error;
  }
}

}  // namespace
