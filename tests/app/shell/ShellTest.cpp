#include <gtest/gtest.h>

#include <sstream>

#include "app/shell/ProgramConfig.h"
#include "app/shell/ShellOptions.h"
#include "tests/support/TempDir.h"

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string word; in >> word;) out.push_back(word);
  return out;
}

}  // namespace

TEST(ShellOptions, TellsItsCommandsFromTheTextCommandsAndRefusesMistakes) {
  for (const char* line :
       {"", "--site http://x --scale 2", "snapshot home", "--site menu demo-report"})
    EXPECT_TRUE(ShellOptions::handles(words(line))) << line;
  for (const char* line : {"feed --json", "--site http://x menu"})
    EXPECT_FALSE(ShellOptions::handles(words(line))) << line;

  std::string error;
  auto options = ShellOptions::parse(words("snapshot lead --index 3 --landscape --style list --out "
                                           "a.png --site http://news.example/"),
                                     error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->command, ShellOptions::Command::Snapshot);
  EXPECT_EQ(options->screen + options->style + options->site + std::to_string(options->index),
            "leadlisthttp://news.example3");
  EXPECT_TRUE(options->landscape);
  for (const char* line :
       {"snapshot", "snapshot nowhere", "snapshot home --index -1", "snapshot home --out a.jpg",
        "snapshot home --style tiles", "--scale 0", "--scale 2x", "--site news.example", "--site"})
    EXPECT_FALSE(ShellOptions::parse(words(line), error)) << line;
  auto window = ShellOptions::parse(words("--scale 1.5"), error);
  EXPECT_TRUE(window && window->command == ShellOptions::Command::Window && window->scale == 1.5);
}

TEST(ProgramConfig, TakesItsOptionsOutOfTheArguments) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // the arguments; what --services holds (nullptr: refused); the arguments left
      {"--config a.conf feed --services sandbox", "sandbox", "feed"},
      {"--site x --services http://127.0.0.1:9/", "http://127.0.0.1:9", "--site x"},
      {"--services https://sandbox.example", "https://sandbox.example", ""},
      {"--services http://sandbox.example", nullptr, ""},
      {"--services 127.0.0.1:9", nullptr, ""},
      {"menu --config", nullptr, ""},
  };
  for (const auto& [line, services, rest] : cases) {
    std::vector<std::string> args = words(line);
    std::string error;
    auto config = ProgramConfig::extract(args, error);
    ASSERT_EQ(config.has_value(), services != nullptr) << line;
    if (!config) continue;
    EXPECT_EQ(config->services, services);
    EXPECT_EQ(args, words(rest));
  }
}

TEST(ProgramConfig, ConfigurationProblemsReachTheUser) {
  TempDir dir;
  writeFile(dir / "bad.conf", "[SHKTwitter]\napi = http://twitter.com\n");
  writeFile(dir / "odd.conf", "[SHKTwitter]\ncolour = red\n");
  writeFile(dir / "config/vemo/vemo.conf", "site\n");
  const struct {
    std::string args;
    int status;
    std::string message;
  } cases[] = {
      {"--config " + (dir / "bad.conf").string() + " saved", 2,
       (dir / "bad.conf").string() + ":2: \"api\" in [SHKTwitter] uses plain http"},
      {"--config " + (dir / "odd.conf").string() + " saved", 0,
       "warning: " + (dir / "odd.conf").string() + ":2: unknown key \"colour\""},
      {"--config " + (dir / "none.conf").string() + " saved", 2, "none.conf: cannot be read"},
      {"saved", 2, "vemo.conf:1: expected \"key = value\""},
  };
  for (const auto& c : cases) {
    std::string command = std::string(VEMO_PATH) + " " + c.args + " 2>" + (dir / "err").string();
    int raw = std::system((command + " >/dev/null").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.args;
    EXPECT_NE(readFile(dir / "err").find(c.message), std::string::npos) << readFile(dir / "err");
  }
}
