#include "platform/base/Localization.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/TempDir.h"

namespace {

// Chooses the message language the way a user's environment does, then binds the catalogues.
void useLanguage(const char* lang, const std::filesystem::path& dir = {}) {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
  setenv("LANG", lang, 1);
  base::initializeLocalization(dir);
}

TEST(Localization, FollowsTheUsersLanguage) {
  const struct {
    const char *lang, *key, *shown;
  } rows[] = {
      {"en_US.UTF-8", "Open in Safari", "Open in Browser"},
      {"vi_VN.UTF-8", "Open in Safari", "Mở trong trình duyệt"},
      {"vi_VN.UTF-8", "No such key", "No such key"},
      {"C", "Open in Safari", "Open in Safari"},
      {"C.UTF-8", "Saved!", "Saved!"},
      {"fr_FR.UTF-8", "Saved!", "Saved!"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.lang) + " " + row.key);
    useLanguage(row.lang);
    EXPECT_EQ(base::localizedString(row.key), row.shown);
  }
}

// A catalogue built without the check, whose translation takes other arguments than its key.
TEST(Localization, AMismatchedTranslationFallsBackToTheKey) {
  testing_support::TempDir dir;
  std::filesystem::create_directories(dir / "vi/LC_MESSAGES");
  testing_support::writeFile(dir / "vi.po",
                             "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                             "msgid \"Send to %@\"\nmsgstr \"Gửi %d %s\"\n");
  std::string compile = "msgfmt -o '" + (dir / "vi/LC_MESSAGES/vemo.mo").string() + "' '" +
                        (dir / "vi.po").string() + "'";
  ASSERT_EQ(std::system(compile.c_str()), 0);
  useLanguage("vi_VN.UTF-8", dir.path());
  EXPECT_EQ(base::localizedString("Send to %@"), "Gửi %d %s");
  EXPECT_EQ(base::localized("Send to %@", "Twitter"), "Send to Twitter");
  useLanguage("vi_VN.UTF-8");
  EXPECT_EQ(base::localized("Send to %@", "Twitter"), "Gửi lên Twitter");
}

}  // namespace
