#include "platform/base/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

using testing_support::readFile;
using testing_support::TempDir;

namespace {

std::span<const uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(AtomicFileTest, ReplacesWithAPrivateFileAndLeavesNothingElse) {
  TempDir dir;
  auto file = dir / "new/folder/settings";
  ASSERT_TRUE(base::writeFileAtomically(file, bytesOf("first")));
  std::filesystem::permissions(file, std::filesystem::perms(0644));
  ASSERT_TRUE(base::writeFileAtomically(file, bytesOf("second")));
  EXPECT_EQ(readFile(file), "second");
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0600));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "new/folder"), {}), 1);

  testing_support::writeFile(dir / "blocker", "a file where the folder should be");
  std::string error;
  EXPECT_FALSE(base::writeFileAtomically(dir / "blocker/settings", bytesOf("x"), &error));
  EXPECT_FALSE(error.empty());
}

TEST(AtomicFileTest, InterruptedWriteLeavesTheOldFileWhole) {
  TempDir dir;
  auto file = dir / "settings";
  ASSERT_TRUE(base::writeFileAtomically(file, bytesOf("old")));

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Dies once the new content is on disk in the temporary file, before it replaces the old.
    base::setAtomicWriteHookForTesting([](const std::filesystem::path&) { _exit(3); });
    base::writeFileAtomically(file, bytesOf(std::string(10000, 'n')));
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 3) << "the child should have died inside the write";
  EXPECT_EQ(readFile(file), "old");
}

}  // namespace
