#include <gtest/gtest.h>
#include <httplib.h>

#include <functional>
#include <sstream>
#include <streambuf>

#include "app/cli/ShareCommand.h"
#include "app/sandbox/ServiceSandbox.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/OAuthServices.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace {

// Standard input whose one line is made when it is read: the person's answer to what the
// program has printed so far.
struct LazyInput : std::streambuf {
  explicit LazyInput(std::function<std::string()> answer) : next(std::move(answer)) {}
  int_type underflow() override {
    if (line.empty()) {
      line = next() + "\n";
      setg(line.data(), line.data(), line.data() + line.size());
    }
    return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
  }
  std::function<std::string()> next;
  std::string line;
};

using OAuthShareCommandTest = SharingTest;

}  // namespace

// The person opens the printed address and allows, then gives where the browser was sent; an
// address elsewhere is no log-in, and nothing is saved.
TEST_F(OAuthShareCommandTest, LogsInThroughTheBrowserAndShares) {
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  const std::string base = sandbox.baseUrl();
  SHKServiceConfig::shared().pointServicesAt(base);
  std::vector<std::string> errors, warnings;
  ASSERT_TRUE(SHKServiceConfig::shared().read(
      "[SHKDelicious]\nconsumer_key = dk\nconsumer_secret = ds\n", "test.conf", errors, warnings));
  registerOAuthServices();
  std::ostringstream out, err;
  // The person's browser: opens the printed address, allows, and gives where it was sent.
  auto browser = [&]() -> std::string {
    const std::string printed = out.str();
    const size_t at = printed.find(base) + base.size(), query = printed.find('?', at);
    if (at < base.size() || query == std::string::npos) return "";
    auto allowed =
        httplib::Client(base).Post(printed.substr(at, query - at),
                                   printed.substr(query + 1, printed.find('\n', at) - query - 1),
                                   "application/x-www-form-urlencoded");
    return allowed ? allowed->get_header_value("Location") : "";
  };
  const struct {
    std::function<std::string()> answer;
    int code;
    const char* said;
    long saves;
  } cases[] = {
      {browser, 0, "Open this address in your browser", 1},
      {[] { return "https://elsewhere.example/?r=http://vemo.invalid/"; }, 3,
       "not the service's callback address", 0},
  };
  for (const auto& c : cases) {
    sandbox.log().clear();
    std::string error;
    LazyInput input(c.answer);
    std::istream in(&input);
    EXPECT_EQ(
        ShareCommand::parse(
            {"share", "SHKDelicious", "--url", "http://news.example/a", "--title", "A"}, error)
            ->run(in, out, err, false),
        c.code)
        << out.str() << err.str();
    EXPECT_NE((out.str() + err.str()).find(c.said), std::string::npos);
    auto all = sandbox.log().requests();
    EXPECT_EQ(
        std::count_if(all.begin(), all.end(), [](auto& r) { return r.path == "/v2/posts/add"; }),
        c.saves);
    SHK::logoutOfService("SHKDelicious");
  }
}
