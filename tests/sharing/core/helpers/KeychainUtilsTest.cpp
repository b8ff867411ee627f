#include "sharing/core/helpers/KeychainUtils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/base/Log.h"
#include "platform/base/Uuid.h"
#include "platform/store/Keychain.h"
#include "platform/store/SecretServiceStore.h"
#include "tests/support/TempDir.h"

using namespace store::keychain_status;
using store::SecretBytes;

namespace {

// Forwards to a real store and counts the writes.
class CountingStore : public store::SecretStore {
 public:
  explicit CountingStore(store::SecretStore& inner) : inner_(inner) {}
  std::string name() const override { return inner_.name(); }
  int find(const std::string& s, const std::string& a, std::optional<SecretBytes>* d) override {
    return inner_.find(s, a, d);
  }
  int add(const store::SecretItem& item) override {
    ++writes;
    return inner_.add(item);
  }
  int update(const store::SecretItem& item) override {
    ++writes;
    return inner_.update(item);
  }
  int remove(const std::string& s, const std::string& a) override { return inner_.remove(s, a); }
  int writes = 0;

 private:
  store::SecretStore& inner_;
};

// The keychain helper over one real store: the file store in a temporary folder, or the
// session's Secret Service (the CTest entry runs these inside a private one).
class KeychainTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "file") {
      real_ = std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath());
    } else {
      auto service = store::SecretServiceStore::connect();
      if (!service) {
        if (std::getenv("VEMO_REQUIRE_SECRET_SERVICE")) FAIL() << "no Secret Service";
        GTEST_SKIP() << "no Secret Service on this session bus";
      }
      real_ = std::move(service);
    }
    auto counting = std::make_unique<CountingStore>(*real_);
    counting_ = counting.get();
    keychain_ = std::make_unique<store::Keychain>(std::move(counting), nullptr);
    store::Keychain::setSharedForTesting(keychain_.get());
    // Names of their own, so runs against one Secret Service do not meet.
    service_ = "SHK_AUTH_Test" + base::Uuid::generateString();
  }
  void TearDown() override {
    if (keychain_) KeychainUtils::deleteItemForUsername("user", service_, nullptr);
    store::Keychain::setSharedForTesting(nullptr);
  }

  testing_support::TempDir dir_;
  std::unique_ptr<store::SecretStore> real_;
  CountingStore* counting_ = nullptr;
  std::unique_ptr<store::Keychain> keychain_;
  std::string service_;
};

TEST_P(KeychainTest, StoreGetUpdateDelete) {
  KeychainUtilsError error{"stale", 5};
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", service_, &error));
  EXPECT_EQ(error.code, 0);

  struct Step {
    const char* password;
    bool updateExisting;
    const char* stored;
    int writes;
  };
  const Step steps[] = {
      {"mật khẩu", false, "mật khẩu", 1},  // new: added
      {"mật khẩu", true, "mật khẩu", 0},   // same value: no write
      {"other", false, "mật khẩu", 0},     // update-existing false keeps the old one
      {"other", true, "other", 1},         // updated
      {"", true, "", 1},                   // an empty password is a password
  };
  for (const auto& s : steps) {
    counting_->writes = 0;
    EXPECT_TRUE(
        KeychainUtils::storeUsername("user", s.password, service_, s.updateExisting, &error));
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(counting_->writes, s.writes) << s.password;
    EXPECT_EQ(KeychainUtils::getPasswordForUsername("user", service_, &error), s.stored);
  }
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("other-user", service_, &error));
  EXPECT_EQ(error.code, 0);

  EXPECT_TRUE(KeychainUtils::deleteItemForUsername("user", service_, &error));
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", service_, &error));
  EXPECT_EQ(error.code, 0);
  EXPECT_FALSE(KeychainUtils::deleteItemForUsername("user", service_, &error));
  EXPECT_EQ(error.code, kItemNotFound);
  EXPECT_FALSE(KeychainUtils::deleteItemForUsername("user", service_, nullptr));
}

TEST_P(KeychainTest, MissingOrUnstorableArguments) {
  const std::optional<std::string> none;
  KeychainUtilsError error;
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername(none, service_, &error));
  EXPECT_EQ(error.code, KeychainUtils::kMissingArgument);
  EXPECT_EQ(error.domain, "KeychainUtilsErrorDomain");
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", none, &error));
  EXPECT_EQ(error.code, KeychainUtils::kMissingArgument);
  EXPECT_FALSE(KeychainUtils::storeUsername("user", none, service_, true, &error));
  EXPECT_EQ(error.code, KeychainUtils::kMissingArgument);
  EXPECT_FALSE(KeychainUtils::storeUsername("user", none, service_, true, nullptr));
  EXPECT_FALSE(KeychainUtils::deleteItemForUsername(none, service_, &error));
  EXPECT_EQ(error.code, KeychainUtils::kMissingArgument);

  // Names neither store could give back unchanged.
  for (const std::string& bad : {std::string("us\xe9r"), std::string("us\0er", 5)}) {
    EXPECT_FALSE(KeychainUtils::storeUsername(bad, "pw", service_, true, &error));
    EXPECT_EQ(error.code, kParam);
    EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", service_ + bad, &error));
    EXPECT_EQ(error.code, kParam);
  }
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("us", service_, &error));
  EXPECT_EQ(error.code, 0);
}

// Another program wrote bytes that are not text under our attributes.
TEST_P(KeychainTest, SecretThatIsNotText) {
  ASSERT_EQ(real_->add({service_, "user", service_, SecretBytes{0xff, 0xfe, 'a'}}), kSuccess);
  KeychainUtilsError error;
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", service_, &error));
  EXPECT_EQ(error.code, KeychainUtils::kNotText);
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "new", service_, true, &error));
  EXPECT_EQ(error.code, KeychainUtils::kNotText);
  EXPECT_TRUE(KeychainUtils::deleteItemForUsername("user", service_, &error));
  EXPECT_TRUE(KeychainUtils::storeUsername("user", "new", service_, true, &error));
}

INSTANTIATE_TEST_SUITE_P(Stores, KeychainTest, ::testing::Values("file", "secret-service"),
                         [](const auto& info) {
                           return info.param == "file" ? std::string("File")
                                                       : std::string("SecretService");
                         });

// Cases only the file store can produce: an item holding no secret, a file that cannot be
// written.
class KeychainFileTest : public ::testing::Test {
 protected:
  void SetUp() override { store::Keychain::setSharedForTesting(&keychain_); }
  void TearDown() override { store::Keychain::setSharedForTesting(nullptr); }
  testing_support::TempDir dir_;
  std::filesystem::path file_ = store::FileSecretStore::defaultPath();
  store::Keychain keychain_{std::make_unique<store::FileSecretStore>(file_), nullptr};
};

TEST_F(KeychainFileTest, ItemWithoutSecretIsReplacedByTheNextStore) {
  ASSERT_EQ(keychain_.add({"SHK_AUTH_X", "user", "SHK_AUTH_X", std::nullopt}), kSuccess);
  KeychainUtilsError error;
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", "SHK_AUTH_X", &error));
  EXPECT_EQ(error.code, KeychainUtils::kNoPasswordData);
  EXPECT_TRUE(KeychainUtils::storeUsername("user", "pw", "SHK_AUTH_X", false, &error));
  EXPECT_EQ(KeychainUtils::getPasswordForUsername("user", "SHK_AUTH_X", &error), "pw");
}

TEST_F(KeychainFileTest, FailedWriteIsReportedWithOrWithoutErrorArgument) {
  std::filesystem::create_directories(file_.parent_path());
  testing_support::writeFile(dir_ / "elsewhere", "keep");
  std::filesystem::create_symlink(dir_ / "elsewhere", file_);
  base::LogCapture log;
  KeychainUtilsError error;
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "secret-pw", "SHK_AUTH_X", true, nullptr));
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "secret-pw", "SHK_AUTH_X", true, &error));
  EXPECT_EQ(error.code, kIO);
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", "SHK_AUTH_X", &error));
  EXPECT_EQ(error.code, kIO);
  EXPECT_EQ(testing_support::readFile(dir_ / "elsewhere"), "keep");
  for (const auto& line : log.lines()) EXPECT_EQ(line.find("secret-pw"), std::string::npos);
}

// A locked collection is an error, never "not found"; nothing prompts.
TEST(KeychainLockedTest, LockedCollectionIsAnError) {
  auto service = store::SecretServiceStore::connect();
  if (!service) {
    if (std::getenv("VEMO_REQUIRE_SECRET_SERVICE")) FAIL() << "no Secret Service";
    GTEST_SKIP() << "no Secret Service on this session bus";
  }
  ASSERT_EQ(service->add({"SHK_AUTH_Locked", "user", "SHK_AUTH_Locked", SecretBytes{'p'}}),
            kSuccess);
  ASSERT_TRUE(service->lockDefaultCollectionForTesting());
  store::Keychain keychain(std::move(service), nullptr);
  store::Keychain::setSharedForTesting(&keychain);
  KeychainUtilsError error;
  EXPECT_FALSE(KeychainUtils::getPasswordForUsername("user", "SHK_AUTH_Locked", &error));
  EXPECT_EQ(error.code, kInteractionNotAllowed);
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "q", "SHK_AUTH_Locked", true, &error));
  EXPECT_EQ(error.code, kInteractionNotAllowed);
  EXPECT_FALSE(KeychainUtils::storeUsername("user", "q", "SHK_AUTH_Locked", true, nullptr));
  EXPECT_FALSE(KeychainUtils::deleteItemForUsername("user", "SHK_AUTH_Locked", &error));
  EXPECT_EQ(error.code, kInteractionNotAllowed);
  store::Keychain::setSharedForTesting(nullptr);
}

}  // namespace
