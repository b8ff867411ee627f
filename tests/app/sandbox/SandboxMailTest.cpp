#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/ShareCommand.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/shell/ProgramConfig.h"
#include "sharing/services/SHKMail.h"
#include "sharing/services/SmtpDelivery.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

using SandboxMailTest = SharingTest;

// The program's own sandbox takes every service's requests; mail shared without a window lands in
// its sink.
TEST_F(SandboxMailTest, HeadlessShareByMailLandsInTheSandboxSink) {
  SHKMail::registerService();
  std::vector<std::string> args = {"--services", "sandbox"};
  std::string error;
  auto config = ProgramConfig::extract(args, error);
  ASSERT_TRUE(config) << error;
  std::ostringstream configErr;
  ASSERT_TRUE(config->apply(configErr)) << configErr.str();
  auto& sandbox = dynamic_cast<ServiceSandbox&>(*config->sandbox());
  EXPECT_EQ(SHKServiceConfig::shared().value("SHKInstapaper", "api"),
            sandbox.baseUrl() + "/SHKInstapaper/api");

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
}

}  // namespace
