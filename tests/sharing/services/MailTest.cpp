#include <glib.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "platform/ui/NavigationController.h"
#include "sharing/services/SHKMail.h"
#include "tests/sharing/services/ServiceTestSupport.h"
#include "tests/support/SmtpSink.h"

namespace {

using Strings = std::vector<std::string>;
using Result = MailComposeViewController::Result;

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

// The header lines of a message (up to the first blank line), unfolded.
Strings headerLines(const std::string& message) {
  Strings lines;
  size_t pos = 0;
  while (true) {
    size_t end = message.find("\r\n", pos);
    if (end == std::string::npos || end == pos) break;
    std::string line = message.substr(pos, end - pos);
    if ((line[0] == ' ' || line[0] == '\t') && !lines.empty())
      lines.back() += line;
    else
      lines.push_back(line);
    pos = end + 2;
  }
  return lines;
}

TEST(MailMessageTest, HeadersCannotBeInjectedAndNonAsciiIsEncoded) {
  MailMessage m;
  m.from = "me@vemo.vn";
  m.to = {"ann@vemo.vn"};
  m.subject = "Tin nóng\r\nBcc: victim@evil.example\n\u200F<b>x</b>";
  m.htmlBody = "<p>xin chào</p>";
  m.attachments.push_back({"ảnh \"1\".jpg", "image/jpeg\r\nX-Evil: 1", {1, 2, 3}});
  std::string bytes = m.build("BOUNDARY", "Mon, 07 Dec 2026 00:00:00 +0000");
  for (const std::string& line : headerLines(bytes)) {
    EXPECT_FALSE(line.starts_with("Bcc:")) << line;
    EXPECT_FALSE(line.starts_with("X-Evil")) << line;
  }
  EXPECT_NE(bytes.find("Subject: =?UTF-8?B?"), std::string::npos);
  EXPECT_NE(bytes.find("filename*=UTF-8''%E1%BA%A3nh%20%221%22.jpg"), std::string::npos);
  EXPECT_NE(bytes.find("Content-Type: application/octet-stream"), std::string::npos);
  EXPECT_EQ(partContent(bytes, "text/html"), "<p>xin chào</p>");
  EXPECT_EQ(partContent(bytes, "attachment;"), std::string("\1\2\3"));

  struct Address {
    const char* text;
    bool valid;
  };
  for (const Address& a : std::initializer_list<Address>{{"ann@vemo.vn", true},
                                                         {"a.b+c@x.y", true},
                                                         {"ann@vemo.vn\r\nRCPT TO:<x@y>", false},
                                                         {"ann <ann@vemo.vn>", false},
                                                         {"a@b,c@d", false},
                                                         {"@vemo.vn", false},
                                                         {"ann@", false},
                                                         {"ann", false}}) {
    EXPECT_EQ(MailMessage::isValidAddress(a.text), a.valid) << a.text;
  }
  EXPECT_EQ(MailMessage::splitAddresses(" a@x , ,b@y,"), (Strings{"a@x", "b@y"}));
}

TEST(MailBodyTest, BodyFromTheItemEscapedAndStoredOnce) {
  struct Case {
    const char* name;
    std::shared_ptr<SHKItem> item;
    std::string subject, body;
    size_t attachments;
  };
  auto file = SHKItem::file({'a'}, "bài.txt", "text/plain");
  const Case cases[] = {
      {"text alone", SHKItem::text("Xin <chào> & \"bạn\""), "",
       "Xin &lt;chào&gt; &amp; &quot;bạn&quot;", 0},
      {"link with an escaped space",
       SHKItem::URL(*net::Url::parse("https://vemo.vn/a%20b?q=%3Cx%3E"), "Tiêu đề"), "Tiêu đề",
       "https://vemo.vn/a b?q=&lt;x&gt;", 0},
      {"file without a title", file, "", "Attached: bài.txt", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MailMessage m = SHKMail::messageForItem(*c.item);
    EXPECT_EQ(m.subject, c.subject);
    EXPECT_EQ(m.htmlBody, c.body);
    EXPECT_EQ(m.attachments.size(), c.attachments);
    EXPECT_EQ(c.item->customValueForKey("body")->view().asString(), c.body);
  }
  // A stored body is used as it is, markup and all.
  auto item = SHKItem::text("new text");
  item->setCustomValue("<i>kept</i>", "body");
  EXPECT_EQ(SHKMail::messageForItem(*item).htmlBody, "<i>kept</i>");
}

class MailTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    SHKMail::registerService();
  }
  void TearDown() override {
    SHKServiceConfig::shared() = SHKServiceConfig();
    ServiceTest::TearDown();
  }
  void configure(int port, const std::string& extra = "") {
    std::ofstream(dir_.path() / "vemo.conf") << "[mail]\nserver = 127.0.0.1\nport = " << port
                                             << "\nsecurity = none\nsender = vemo@vemo.vn\n"
                                             << extra;
    Strings errors, warnings;
    ASSERT_TRUE(SHKServiceConfig::shared().load(dir_.path() / "vemo.conf", true, errors, warnings))
        << (errors.empty() ? "" : errors[0]);
  }
  MailComposeViewController* composer() {
    auto* nav = dynamic_cast<ui::NavigationController*>(SHK::currentHelper().currentView().get());
    return nav ? dynamic_cast<MailComposeViewController*>(nav->topViewController()) : nullptr;
  }
  // Fills the composer, presses Send and waits for the outcome.
  void sendTo(const std::string& to, const std::string& cc = "", const std::string& password = "") {
    ASSERT_NE(composer(), nullptr);
    composer()->view();
    composer()->toField()->editText(to);
    composer()->ccField()->editText(cc);
    if (composer()->passwordField()) composer()->passwordField()->editText(password);
    composer()->navigationItem().rightBarButtonItem()->press();
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return !outcomes_.empty(); }));
    runFor(1);
  }
  std::shared_ptr<SHKItem> fileItem() {
    std::vector<uint8_t> bytes(300000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    return SHKItem::file(bytes, "báo cáo.pdf", "application/pdf", "Báo cáo <tuần>");
  }
};

TEST_F(MailTest, NoAccountNoEmail) {
  EXPECT_FALSE(SHKMail::canSendMail());
  EXPECT_FALSE(SHKSharer::create("SHKMail")->canShare());
  configure(25);
  EXPECT_TRUE(SHKMail::canSendMail());
}

TEST_F(MailTest, DeliversProperMimeToARealSmtpServer) {
  testing_support::SmtpSink sink(dir_.path() / "sink");
  configure(sink.port());
  auto item = fileItem();
  SHKSharer::shareItem("SHKMail", item);
  runFor(1);
  ASSERT_NE(composer(), nullptr);
  sendTo("ann@vemo.vn", "bob@vemo.vn");
  EXPECT_EQ(outcomes_, Strings{SHKSharer::kSendDidFinishNotification});
  EXPECT_EQ(composer(), nullptr);

  Strings messages = sink.messages();
  ASSERT_EQ(messages.size(), 1u);
  const std::string& m = messages[0];
  EXPECT_NE(m.find("X-Envelope-To: ann@vemo.vn,bob@vemo.vn"), std::string::npos);
  std::string encodedSubject;
  for (const std::string& line : headerLines(m))
    if (line.starts_with("Subject: ")) encodedSubject = line.substr(9);
  // One encoded word is enough for this subject.
  ASSERT_TRUE(encodedSubject.starts_with("=?UTF-8?B?")) << encodedSubject;
  EXPECT_EQ(decodeBase64(encodedSubject.substr(10, encodedSubject.size() - 12)), "Báo cáo <tuần>");
  EXPECT_EQ(partContent(m, "text/html"), "Attached: Báo cáo &lt;tuần&gt;");
  std::string attachment = partContent(m, "application/pdf");
  EXPECT_EQ(attachment, std::string(item->data()->begin(), item->data()->end()));
}

TEST_F(MailTest, ServerRefusalsAreShownThenReportedAsFailures) {
  struct Case {
    const char* name;
    Strings sinkArgs;
    std::string extraConfig, to, password, shown;
  };
  const Case cases[] = {
      {"recipient refused", {"--refuse-rcpt", "nobody@vemo.vn"}, "", "nobody@vemo.vn", "", "550"},
      {"login refused",
       {"--user", "ann", "--password", "right"},
       "user = ann\n",
       "ann@vemo.vn",
       "wrong",
       "535"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    outcomes_.clear();
    ui::AlertStack::shared().reset();
    testing_support::SmtpSink sink(dir_.path() / c.name, c.sinkArgs);
    configure(sink.port(), c.extraConfig);
    SHKSharer::shareItem("SHKMail", SHKItem::text("hello"));
    runFor(1);
    sendTo(c.to, "", c.password);
    EXPECT_EQ(outcomes_, Strings{SHKSharer::kSendDidFailNotification});
    EXPECT_NE(alertMessage().find(c.shown), std::string::npos) << alertMessage();
    EXPECT_TRUE(sink.messages().empty());
    EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKMail"), std::nullopt);
  }
}

TEST_F(MailTest, PasswordAskedOnceAndKeptAfterItWorked) {
  testing_support::SmtpSink sink(dir_.path() / "sink", {"--user", "ann", "--password", "s3cr&t"});
  configure(sink.port(), "user = ann\n");
  for (int round = 0; round < 2; ++round) {
    outcomes_.clear();
    SHKSharer::shareItem("SHKMail", SHKItem::text("hello"));
    runFor(1);
    ASSERT_NE(composer(), nullptr);
    composer()->view();
    EXPECT_EQ(composer()->passwordField() != nullptr, round == 0);
    sendTo("ann@vemo.vn", "", "s3cr&t");
    EXPECT_EQ(outcomes_, Strings{SHKSharer::kSendDidFinishNotification});
  }
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKMail"), "s3cr&t");
  EXPECT_EQ(sink.messages().size(), 2u);
}

TEST(SmtpDeliveryTest, RefusesPlainTextAwayFromLoopbackAndGivesUpOnSilentServers) {
  // A socket that listens but never answers: the greeting never comes.
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(fd, 4), 0);
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  int silentPort = ntohs(addr.sin_port);
  // A server that does not offer STARTTLS.
  testing_support::TempDir dir;
  testing_support::SmtpSink sink(dir.path() / "sink");

  using Security = SHKServiceConfig::Security;
  struct Case {
    const char* name;
    std::string server;
    int port;
    Security security;
    std::string error;
  };
  const Case cases[] = {
      {"plain text to another host", "smtp.example.com", 25, Security::None, "without encryption"},
      {"silent server", "127.0.0.1", silentPort, Security::None, "could not be sent"},
      {"no STARTTLS offered", "127.0.0.1", sink.port(), Security::StartTls, "could not be sent"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmtpDelivery::Account account;
    account.mail.server = c.server;
    account.mail.port = c.port;
    account.mail.security = c.security;
    account.timeoutSeconds = 1;
    auto result = SmtpDelivery::send(account, "a@b.c", {"d@e.f"}, "Subject: x\r\n\r\nx\r\n");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
  }
  close(fd);
}

}  // namespace
