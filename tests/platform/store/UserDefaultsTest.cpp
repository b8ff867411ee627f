#include "platform/store/UserDefaults.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/base/Log.h"
#include "tests/support/TempDir.h"

using store::Plist;
using store::UserDefaults;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> out;
  for (auto& entry : std::filesystem::directory_iterator(folder)) out.push_back(entry.path());
  std::sort(out.begin(), out.end());
  return out;
}

class UserDefaultsTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::filesystem::path folder = dir / "config/vemo", file = folder / "defaults.plist";
};

TEST_F(UserDefaultsTest, ValuesPersistAcrossInstances) {
  EXPECT_EQ(UserDefaults::standard().path(), file);
  const auto when = store::Date(std::chrono::seconds(1323113400));
  {
    UserDefaults defaults(file);
    EXPECT_TRUE(defaults.setString("Tin mới", "s") &&
                defaults.setInteger(-1234567890123, "FBUserId"));
    EXPECT_TRUE(defaults.setDate(when, "FBSessionExpires"));
    EXPECT_TRUE(defaults.setObject(Plist::stringArray({"SHKMail", "SHKTwitter"}), "SHK_FAVS_2"));
    Plist dict = Plist::dictionary();
    dict.set("SHKFacebook", Plist::boolean(true));
    EXPECT_TRUE(defaults.setObject(dict, "SHKExcluded"));
    EXPECT_TRUE(defaults.setString("gone", "removed"));
    EXPECT_TRUE(defaults.removeObjectForKey("removed"));
  }
  EXPECT_EQ(readFile(file).substr(0, 8), "bplist00");
  UserDefaults again(file);
  EXPECT_EQ(again.stringForKey("s"), "Tin mới");
  EXPECT_EQ(again.integerForKey("FBUserId"), -1234567890123);
  EXPECT_EQ(again.dateForKey("FBSessionExpires"), when);
  EXPECT_EQ(again.stringArrayForKey("SHK_FAVS_2"),
            (std::vector<std::string>{"SHKMail", "SHKTwitter"}));
  EXPECT_TRUE(again.objectForKey("SHKExcluded")->view().get("SHKFacebook").asBool());
  EXPECT_FALSE(again.objectForKey("removed"));
  // Mistyped values read as nothing or zero.
  EXPECT_FALSE(again.stringForKey("FBUserId"));
  EXPECT_FALSE(again.stringArrayForKey("SHKExcluded"));
  EXPECT_EQ(again.integerForKey("s"), 0);
}

TEST_F(UserDefaultsTest, CorruptFileIsMovedAsideAndReportedOnce) {
  const std::string garbage = "this is not a property list \x01\x02";
  writeFile(file, garbage);
  base::LogCapture log;
  UserDefaults defaults(file);
  EXPECT_EQ(defaults.dictionaryRepresentation().view().size(), 0u);
  auto files = filesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].filename().string().starts_with("defaults.plist.corrupt-"));
  EXPECT_EQ(readFile(files[0]), garbage);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_NE(log.lines()[0].find("MOVED TO " + files[0].string()), std::string::npos);

  // The store works again, and a second bad file in the same second gets its own name.
  EXPECT_TRUE(defaults.setString("v", "k"));
  writeFile(file, Plist::stringArray({"a root that is not a dictionary"}).toXml());
  UserDefaults second(file);
  EXPECT_EQ(filesIn(folder).size(), 2u);
  EXPECT_EQ(readFile(files[0]), garbage);
  // A dictionary written as XML is read.
  Plist values = Plist::dictionary();
  values.set("STYLE", Plist::string("list"));
  writeFile(file, values.toXml());
  EXPECT_EQ(UserDefaults(file).stringForKey("STYLE"), "list");
}

TEST_F(UserDefaultsTest, FailedWriteIsReportedAndKeptInMemory) {
  writeFile(dir / "blocker", "a file where the folder should be");
  base::LogCapture log;
  UserDefaults defaults(dir / "blocker/defaults.plist");
  EXPECT_FALSE(defaults.setString("v", "k"));
  EXPECT_EQ(defaults.stringForKey("k"), "v");
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing) {
  UserDefaults defaults(file);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&defaults, t] {
      for (int i = 0; i < 25; ++i) {
        std::string key = "t" + std::to_string(t) + "-" + std::to_string(i);
        defaults.setInteger(i, key);
        EXPECT_EQ(defaults.integerForKey(key), i);
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(UserDefaults(file).dictionaryRepresentation().view().size(), 100u);
  EXPECT_EQ(filesIn(folder).size(), 1u) << "no temporary files left behind";
}

}  // namespace
