#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/cli/ShareCommand.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/shell/ProgramConfig.h"
#include "sharing/services/SHKMail.h"
#include "sharing/services/SmtpDelivery.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

class SandboxMailTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    SHKMail::registerService();
  }
  void TearDown() override {
    SHKServiceConfig::shared() = SHKServiceConfig();
    SharingTest::TearDown();
  }
};

// The sandbox takes every service's requests, from this program and, by its address, from a
// second one; mail shared without a window lands in its sink.
TEST_F(SandboxMailTest, HeadlessShareByMailLandsInTheSandboxSink) {
  std::vector<std::string> args = {"--services", "sandbox"};
  std::string error;
  auto config = ProgramConfig::extract(args, error);
  ASSERT_TRUE(config) << error;
  std::ostringstream configErr;
  ASSERT_TRUE(config->apply(configErr)) << configErr.str();
  ServiceSandbox& sandbox = *config->sandbox();
  EXPECT_EQ(SHKServiceConfig::shared().value("SHKInstapaper", "api"),
            sandbox.baseUrl() + "/SHKInstapaper/api");
  std::vector<std::string> second{"--services", sandbox.baseUrl()};
  auto other = ProgramConfig::extract(second, error);
  ASSERT_TRUE(other && other->apply(configErr));
  EXPECT_EQ(SHKServiceConfig::shared().value("SHKTumblr", "api"),
            sandbox.baseUrl() + "/SHKTumblr/api");

  auto command = ShareCommand::parse({"share", "SHKMail", "--text", "Xin chào <b>", "--title",
                                      "Tin hay", "--to", "ann@vemo.vn", "--cc", "bob@vemo.vn"},
                                     error);
  ASSERT_TRUE(command) << error;
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(command->run(in, out, err, false), 0) << err.str();

  auto kept = sandbox.mailSink().messages();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].recipients, (std::vector<std::string>{"ann@vemo.vn", "bob@vemo.vn"}));
  EXPECT_NE(kept[0].data.find("Subject: Tin hay\r\n"), std::string::npos);

  // Lines starting with a dot arrive as they were written.
  SmtpDelivery::Account account{SHKServiceConfig::shared().mail(), ""};
  auto sent =
      SmtpDelivery::send(account, "a@b.c", {"d@e.f"}, "Subject: x\r\n\r\n.one\r\n..two\r\n");
  ASSERT_TRUE(sent.ok) << sent.error;
  EXPECT_EQ(sandbox.mailSink().messages().at(1).data, "Subject: x\r\n\r\n.one\r\n..two\r\n");

  httplib::Client client("127.0.0.1", sandbox.port());
  auto list = nlohmann::json::parse(client.Get("/_sandbox/mail")->body);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]["from"], SHKServiceConfig::shared().mail().sender);
  EXPECT_NE(client.Get("/_sandbox/")->body.find("to ann@vemo.vn, bob@vemo.vn"), std::string::npos);
}

}  // namespace
