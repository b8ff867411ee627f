#include "sharing/core/helpers/KeychainUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/Uuid.h"
#include "platform/store/Keychain.h"
#include "platform/store/SecretServiceStore.h"
#include "tests/support/TempDir.h"

using namespace store::keychain_status;
using store::SecretBytes;

namespace {

// The session's Secret Service, or a skip (a failure where the test run requires one).
std::unique_ptr<store::SecretServiceStore> secretService() {
  auto service = store::SecretServiceStore::connect();
  if (!service && std::getenv("VEMO_REQUIRE_SECRET_SERVICE")) ADD_FAILURE() << "no Secret Service";
  return service;
}

// The keychain helper over one real store: the file store in a temporary folder, or the
// session's Secret Service (the CTest entry runs these inside a private one).
class KeychainTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    std::unique_ptr<store::SecretStore> real;
    if (GetParam() == "File") {
      real = std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath());
    } else if (!(real = secretService())) {
      GTEST_SKIP() << "no Secret Service on this session bus";
    }
    real_ = real.get();
    keychain_ = std::make_unique<store::Keychain>(std::move(real), nullptr);
    store::Keychain::setSharedForTesting(keychain_.get());
    // Names of their own, so runs against one Secret Service do not meet.
    service_ = "SHK_AUTH_Test" + base::Uuid::generateString();
  }
  void TearDown() override {
    if (keychain_) KeychainUtils::deleteItemForUsername("user", service_, nullptr);
    store::Keychain::setSharedForTesting(nullptr);
  }

  testing_support::TempDir dir_;
  store::SecretStore* real_ = nullptr;
  std::unique_ptr<store::Keychain> keychain_;
  std::string service_;
  KeychainUtilsError error_{"stale", 5};
};

TEST_P(KeychainTest, StoreGetUpdateDelete) {
  const std::tuple<const char*, bool, const char*> steps[] = {
      {"mật khẩu", false, "mật khẩu"},  // new: added
      {"other", false, "mật khẩu"},     // update-existing false keeps the old one
      {"other", true, "other"},         // updated
      {"", true, ""},                   // an empty password is a password
  };
  for (const auto& [password, updateExisting, stored] : steps) {
    EXPECT_TRUE(KeychainUtils::storeUsername("user", password, service_, updateExisting, &error_));
    EXPECT_EQ(KeychainUtils::getPasswordForUsername("user", service_, &error_), stored) << password;
  }
  EXPECT_TRUE(KeychainUtils::deleteItemForUsername("user", service_, &error_));
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", service_, &error_));
  EXPECT_EQ(error_.code, 0);
  EXPECT_FALSE(KeychainUtils::deleteItemForUsername("user", service_, &error_));
  EXPECT_EQ(error_.code, kItemNotFound);
}

TEST_P(KeychainTest, MissingOrUnstorableArgumentsAndSecretsThatAreNotText) {
  using K = KeychainUtils;
  const std::optional<std::string> none;
  auto refused = [this](bool done, long code) {
    EXPECT_FALSE(done);
    EXPECT_EQ(error_.code, code);
  };
  refused(!!K::getPasswordForUsername(none, service_, &error_), K::kMissingArgument);
  refused(K::storeUsername("user", none, service_, true, &error_), K::kMissingArgument);
  refused(K::deleteItemForUsername(none, service_, &error_), K::kMissingArgument);
  // Names neither store could give back unchanged.
  refused(K::storeUsername("us\xe9r", "pw", service_, true, &error_), kParam);
  refused(!!K::getPasswordForUsername("user", service_ + std::string("\0", 1), &error_), kParam);
  // Another program wrote bytes that are not text under our attributes.
  ASSERT_EQ(real_->add({service_, "user", service_, SecretBytes{0xff, 0xfe, 'a'}}), kSuccess);
  refused(!!K::getPasswordForUsername("user", service_, &error_), K::kNotText);
  refused(K::storeUsername("user", "new", service_, true, &error_), K::kNotText);
}

// A file that cannot be written, reported with or without an error argument.
TEST_P(KeychainTest, FileStoreFailedWrite) {
  if (GetParam() != "File") GTEST_SKIP() << "only the file store can fail so";
  std::filesystem::path file = store::FileSecretStore::defaultPath();
  std::filesystem::create_directories(file.parent_path());
  std::filesystem::create_symlink(dir_ / "elsewhere", file);
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "pw", "SHK_AUTH_X", true, nullptr));
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "pw", "SHK_AUTH_X", true, &error_));
  EXPECT_EQ(error_.code, kIO);
}

INSTANTIATE_TEST_SUITE_P(Stores, KeychainTest, ::testing::Values("File", "SecretService"),
                         [](const auto& info) { return info.param; });

// A locked collection is an error, never "not found"; nothing prompts.
TEST(KeychainLockedTest, LockedCollectionIsAnError) {
  auto service = secretService();
  if (!service) GTEST_SKIP() << "no Secret Service on this session bus";
  ASSERT_EQ(service->add({"SHK_AUTH_Locked", "user", "SHK_AUTH_Locked", SecretBytes{'p'}}),
            kSuccess);
  ASSERT_TRUE(service->lockDefaultCollectionForTesting());
  store::Keychain keychain(std::move(service), nullptr);
  store::Keychain::setSharedForTesting(&keychain);
  KeychainUtilsError error;
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", "SHK_AUTH_Locked", &error));
  EXPECT_EQ(error.code, kInteractionNotAllowed);
  store::Keychain::setSharedForTesting(nullptr);
}

}  // namespace
