#include "app/cli/ShareCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKSharer.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

// A service that takes the password "right" and reports everything it was given.
struct PasswordService : SHKSharer {
  std::string sharerTitle() const override { return "Pass"; }
  bool canShareURL() const override { return true; }
  bool canShareText() const override { return true; }
  bool canShareOffline() const override { return false; }
  void authorizationFormValidate(SHKFormController& form) override { form.saveForm(); }
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::vector<SHKFormFieldSettings>{
        SHKFormFieldSettings::make("Title", "title", SHKFormFieldSettings::Text, item()->title()),
        SHKFormFieldSettings::make("Mood", "mood", SHKFormFieldSettings::Text)};
  }
  bool send() override {
    sendDidStart();
    base::RunLoop::main().performAfter(0.5, [self = shared_from_this(), this] {
      auto mood = item()->customValueForKey("mood");
      sent =
          item()->title().value_or("") + "|" + (mood ? mood->view().asString().value_or("") : "");
      getAuthValueForKey("password") == "right" ? sendDidFinish() : sendDidFailShouldRelogin();
    });
    return true;
  }
  static inline std::string sent;
};

// A service whose screen is a web page of its own.
struct WebPageService : SHKSharer {
  bool canShareText() const override { return true; }
  bool requiresAuthentication() const override { return false; }
  void show() override { presentScreen(std::make_shared<ui::ViewController>()); }
};

class ShareCommandTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    SHKSharer::registerClass("SHKPass", [] { return std::make_shared<PasswordService>(); });
    SHKSharer::registerClass("SHKWeb", [] { return std::make_shared<WebPageService>(); });
    testing_support::writeFile(dir_ / "SHKSharers.plist",
                               "<plist><dict><key>services</key><array><string>SHKPass</string>"
                               "<string>SHKGone</string></array></dict></plist>");
    SHK::reloadSharersDictionary((dir_ / "SHKSharers.plist").string());
  }
  void TearDown() override {
    SHKSharer::unregisterClass("SHKPass");
    SHKSharer::unregisterClass("SHKWeb");
    SHK::reloadSharersDictionary();
    SharingTest::TearDown();
  }
  int run(const std::vector<std::string>& args, const std::string& input = "") {
    out_.str("");
    err_.str("");
    std::string error;
    auto command = ShareCommand::parse(args, error);
    if (!command) return 2;
    std::istringstream in(input);
    return command->run(in, out_, err_, false);
  }
  std::ostringstream out_, err_;
};

// Exit codes: 0 shared, 1 failed, 2 refused before sharing, 3 cancelled.
TEST_F(ShareCommandTest, ExitCodes) {
  const struct {
    const char* args;  // the words after "share", split at "|"
    int code;
    const char *input = "", *sent = "";
    const char* stored = nullptr;  // the password stored before; nullptr: logged out
  } cases[] = {
      {"", 2},                                          // no service
      {"SHKPass|--title|t", 2},                         // no item
      {"SHKPass|--url|http://a.vn|--text|x", 2},        // two items
      {"SHKPass|--text|x|--field|=v", 2},               // a field without a name
      {"SHKNope|--text|x", 2},                          // no such service
      {"SHKPass|--image|/nonexistent.png", 2},          // a kind it does not share
      {"SHKWeb|--text|x", 2},                           // only in the window
      {"SHKPass|--url|https://vemo.vn/a", 3, "ann\n"},  // the end of the input cancels
      {"SHKPass|--url|https://vemo.vn/a b|--title|T+1|--field|mood=ok", 0, "ann\nright\n",
       "T+1|ok"},
      {"SHKPass|--text|x", 0, "ann\nright\n", "|", "wrong"},   // asked to log in once more
      {"SHKPass|--text|x", 1, "bob\nwrong\nbob\nbad\n", "|"},  // the second refusal fails
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    std::vector<std::string> args = {"share"};
    for (std::string_view rest = c.args; !rest.empty();) {
      args.emplace_back(rest.substr(0, rest.find('|')));
      rest.remove_prefix(std::min(rest.size(), args.back().size() + 1));
    }
    PasswordService::sent.clear();
    SHK::logoutOfService("SHKPass");
    if (c.stored) SHK::setAuthValue(c.stored, "password", "SHKPass");
    EXPECT_EQ(run(args, c.input), c.code) << err_.str();
    EXPECT_EQ(PasswordService::sent, c.sent);
    EXPECT_EQ(out_.str().find("Saved!") != std::string::npos, c.code == 0) << out_.str();
    base::RunLoop::main().runFor(5);
  }
}

TEST_F(ShareCommandTest, ServicesAndLogout) {
  EXPECT_EQ(run({"services"}), 0);
  EXPECT_EQ(out_.str(), "SHKPass\tPass\turl,text\n");
  EXPECT_EQ(run({"logout", "SHKNope"}), 2);
  for (const std::vector<std::string>& logout :
       {std::vector<std::string>{"logout", "SHKPass"}, {"logout"}}) {
    SHK::setAuthValue("ann", "username", "SHKPass");
    EXPECT_EQ(run(logout), 0);
    EXPECT_FALSE(SHKSharer::isServiceAuthorized("SHKPass")) << logout.size();
  }
}

}  // namespace
