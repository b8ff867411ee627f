#include <gtest/gtest.h>

#include "platform/base/Log.h"
#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "platform/store/Plist.h"
#include "tests/support/TempDir.h"

using namespace store::keychain_status;
using store::FileSecretStore;
using store::SecretBytes;

namespace {

class FileSecretStoreTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir_;
  std::filesystem::path file_ = FileSecretStore::defaultPath();
  FileSecretStore store_{file_};
};

TEST_F(FileSecretStoreTest, PrivateFileThatSurvivesReopening) {
  ASSERT_EQ(store_.add({"svc", "acct", "svc", SecretBytes{'p', 0, 0xff}}), kSuccess);
  EXPECT_EQ(store_.add({"svc", "acct", "svc", SecretBytes{'q'}}), kDuplicateItem);
  EXPECT_EQ(store_.update({"svc", "nobody", "svc", SecretBytes{'q'}}), kItemNotFound);
  using std::filesystem::perms, std::filesystem::status;
  EXPECT_EQ(status(file_.parent_path()).permissions(), perms(0700));
  EXPECT_EQ(status(file_).permissions(), perms(0600));
  FileSecretStore reopened(file_);
  std::optional<SecretBytes> secret;
  ASSERT_EQ(reopened.find("svc", "acct", &secret), kSuccess);
  EXPECT_EQ(secret, (SecretBytes{'p', 0, 0xff}));
  EXPECT_EQ(reopened.find("svc", "other", &secret), kItemNotFound);
}

TEST_F(FileSecretStoreTest, CorruptFileIsKeptAside) {
  auto binary = [](const std::string& xml) {
    auto bytes = store::Plist::fromXml("<plist>" + xml + "</plist>")->toBinary();
    return std::string(bytes.begin(), bytes.end());
  };
  const std::string bad[] = {"not a plist", binary("<array/>"),
                             binary("<dict><key>items</key><array><dict><key>service</key>"
                                    "<integer>5</integer></dict></array></dict>")};
  for (const auto& bytes : bad) {
    testing_support::writeFile(file_, bytes);
    base::LogCapture log;
    EXPECT_EQ(store_.find("s", "a", nullptr), kItemNotFound);
    EXPECT_FALSE(std::filesystem::exists(file_));
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(store_.add({"s", "a", "s", SecretBytes{'1'}}), kSuccess);
    std::filesystem::remove(file_);
  }
  size_t aside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(file_.parent_path()))
    if (entry.path().filename().string().starts_with("keychain.plist.corrupt-")) ++aside;
  EXPECT_EQ(aside, std::size(bad));
}

TEST_F(FileSecretStoreTest, SymlinkIsRefused) {
  std::filesystem::create_directories(file_.parent_path());
  testing_support::writeFile(dir_ / "target", "keep");
  std::filesystem::create_symlink(dir_ / "target", file_);
  EXPECT_EQ(store_.find("s", "a", nullptr), kIO);
  EXPECT_EQ(store_.add({"s", "a", "s", SecretBytes{'1'}}), kIO);
  EXPECT_EQ(store_.remove("s", "a"), kIO);
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_EQ(testing_support::readFile(dir_ / "target"), "keep");
}

// Entries the file store kept while no Secret Service answered move into it on lookup.
TEST_F(FileSecretStoreTest, LookupMovesEntriesOutOfTheOldFile) {
  FileSecretStore old(file_);
  ASSERT_EQ(old.add({"svc", "kept", "svc", SecretBytes{'o', 'l', 'd'}}), kSuccess);
  ASSERT_EQ(old.add({"svc", "both", "svc", SecretBytes{'f'}}), kSuccess);
  auto primary = std::make_unique<FileSecretStore>(dir_ / "primary.plist");
  FileSecretStore& service = *primary;
  ASSERT_EQ(service.add({"svc", "both", "svc", SecretBytes{'n', 'e', 'w'}}), kSuccess);
  store::Keychain keychain(std::move(primary), std::make_unique<FileSecretStore>(file_));

  // Account, status, secret, whether the old file still has it.
  const std::tuple<const char*, int, std::optional<SecretBytes>, bool> cases[] = {
      {"both", kSuccess, SecretBytes{'n', 'e', 'w'}, true},   // the Secret Service wins
      {"kept", kSuccess, SecretBytes{'o', 'l', 'd'}, false},  // moved
      {"kept", kSuccess, SecretBytes{'o', 'l', 'd'}, false},  // now found there
      {"none", kItemNotFound, std::nullopt, false}};
  for (const auto& [account, status, expected, leftInFile] : cases) {
    std::optional<SecretBytes> secret;
    EXPECT_EQ(keychain.find("svc", account, &secret), status) << account;
    EXPECT_EQ(secret, expected) << account;
    EXPECT_EQ(old.find("svc", account, nullptr) == kSuccess, leftInFile) << account;
  }
  EXPECT_EQ(service.find("svc", "kept", nullptr), kSuccess);
  // Deleting removes the copy in both stores.
  EXPECT_EQ(keychain.remove("svc", "both"), kSuccess);
  EXPECT_EQ(keychain.find("svc", "both", nullptr), kItemNotFound);
}

}  // namespace
