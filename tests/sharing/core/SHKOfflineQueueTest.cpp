#include "sharing/core/SHKOfflineQueue.h"

#include "platform/graphics/Image.h"
#include "sharing/core/SHKSharer.h"
#include "tests/sharing/core/SharingTestSupport.h"

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class SHKOfflineQueueTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    // Needs no network answer: a send finishes half a second later.
    TestService::mode = TestService::Send::FinishLater;
    TestService::delay = 0.5;
    TestService::files = true;
    SHKSharer::registerClass("SHKQueued", [] { return std::make_shared<TestService>(); });
    SHKOfflineQueue::install();
  }
  void TearDown() override {
    flushed();
    SHK::setOfflineQueueAdder(nullptr);
    SHKSharer::unregisterClass("SHKQueued");
    SharingTest::TearDown();
  }
  void flushed() {
    // The count changes on the workers, which post nothing when they end: look in short steps.
    for (int i = 0; i < 3000 && SHKOfflineQueue::operations().operationCount() > 0; ++i)
      base::RunLoop::main().runUntilCondition([] { return false; }, 0.01);
    runFor(2);
  }
  fs::path folder() { return SHKOfflineQueue::offlineQueuePath(); }
  store::PlistView entry(const store::Plist& list, size_t i) { return list.view().at(i); }
  std::string uidOf(const store::Plist& list, size_t i) {
    return *entry(list, i).get("uid").asString();
  }
};

TEST_F(SHKOfflineQueueTest, QueuingKeepsEntriesAndBodies) {
  auto image = graphics::Image::filled({3, 2}, graphics::Color::rgb(0, 0, 255));
  ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::text("hello"), "SHKQueued"));
  ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::image(image, "pic"), "SHKQueued"));
  ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::file({1, 2, 0, 3}, "a.bin", "x/y"), "SHKQueued"));
  auto list = SHKOfflineQueue::getOfflineQueueList();
  ASSERT_TRUE(list && list->view().size() == 3u);
  const std::optional<std::string> bodies[] = {std::nullopt, image->jpegData(1.0),
                                               std::string("\1\2\0\3", 4)};
  for (size_t i = 0; i < 3; ++i) {
    std::string uid = uidOf(*list, i);
    EXPECT_TRUE(uid.starts_with("SHKQueued-" + std::to_string(i + 2) + "-")) << uid;
    EXPECT_EQ(entry(*list, i).get("sharer").asString(), "SHKQueued");
    EXPECT_EQ(fs::exists(folder() / uid) ? std::optional(readFile(folder() / uid)) : std::nullopt,
              bodies[i]);
  }
  EXPECT_EQ(entry(*list, 0).get("item").get("text").asString(), "hello");
}

TEST_F(SHKOfflineQueueTest, UidsNameOnlyPlainFilesOfTheQueue) {
  EXPECT_TRUE(SHKOfflineQueue::isValidUid("SHKTumblr-3-1700000000-12345"));
  EXPECT_TRUE(SHKOfflineQueue::isValidUid("SHKTumblr-3-1700000000--2147483648"));
  for (const std::string& uid :
       {std::string("../../x"), std::string("SHK/x-1-2-3"), std::string("SHK..-1-2-3"),
        std::string("SHKA-1-2-3\0x", 12), std::string("SHKA-1-2-3/.."), std::string(),
        "S" + std::string(300, 'x') + "-1-2-3"})
    EXPECT_FALSE(SHKOfflineQueue::isValidUid(uid)) << uid;
}

TEST_F(SHKOfflineQueueTest, ListsThatAreNotArraysAreKeptAside) {
  store::Plist binaryArray = store::Plist::array();
  binaryArray.append(store::Plist::string("not a dictionary"));
  auto binary = binaryArray.toBinary();
  const std::pair<std::string, bool> cases[] = {
      {store::Plist::dictionary().toXml(), false},
      {"<plist><array><string>cut", false},
      {"\x00\x01garbage", false},
      {std::string(binary.begin(), binary.end()), true},
  };
  for (const auto& [bytes, readable] : cases) {
    for (const auto& f : fs::directory_iterator(folder())) fs::remove(f.path());
    writeFile(SHKOfflineQueue::offlineQueueListPath(), bytes);
    EXPECT_EQ(SHKOfflineQueue::getOfflineQueueList().has_value(), readable);
    // An unreadable list is not lost: it moves aside, and a new share starts a new list.
    EXPECT_EQ(fs::exists(SHKOfflineQueue::offlineQueueListPath()), readable);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder()), fs::directory_iterator()), 1);
  }
  // Entries that are not dictionaries are skipped by a flush, which still deletes the list.
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 0u);
  EXPECT_FALSE(fs::exists(SHKOfflineQueue::offlineQueueListPath()));
}

// Unknown or missing services and hostile uids are skipped; the bodies of skipped entries go,
// files outside the queue folder stay.
TEST_F(SHKOfflineQueueTest, FlushSkipsBadEntries) {
  writeFile(folder() / "SHKGone-3-1-1", "body of an entry for a service this program lacks");
  writeFile(folder().parent_path().parent_path() / "x", "outside the queue");
  store::Plist list = store::Plist::array();
  for (auto [sharer, uid] : {std::pair{"SHKGone", "SHKGone-3-1-1"},
                             {"", "SHKQueued-2-1-2"},
                             {"SHKQueued", "../../x"},
                             {"SHKQueued", "SHKQueued-2-1-3"}}) {
    store::Plist e = store::Plist::dictionary();
    e.set("item", SHKItem::text("hi")->dictionaryRepresentation());
    e.set("sharer", store::Plist::string(sharer));
    e.set("uid", store::Plist::string(uid));
    list.append(std::move(e));
  }
  ASSERT_TRUE(SHKOfflineQueue::saveOfflineQueueList(list));
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 1u);
  EXPECT_FALSE(fs::exists(SHKOfflineQueue::offlineQueueListPath()));
  EXPECT_FALSE(fs::exists(folder() / "SHKGone-3-1-1"));
  EXPECT_TRUE(fs::exists(folder().parent_path().parent_path() / "x"));
  flushed();
  EXPECT_EQ(TestService::sends, 1);
}

TEST_F(SHKOfflineQueueTest, FlushRunsEachEntryOnceWithFewThreads) {
  auto image = graphics::Image::filled({7, 5}, graphics::Color::black());
  ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::image(image), "SHKQueued"));
  for (int i = 0; i < 49; ++i)
    ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::text("t"), "SHKQueued"));
  std::string imageUid = uidOf(*SHKOfflineQueue::getOfflineQueueList(), 0);
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 50u);
  flushed();
  EXPECT_FALSE(fs::exists(folder() / imageUid)) << "the picture's body file is left behind";
  EXPECT_EQ(TestService::sends, 50);
  EXPECT_EQ(TestService::imageWidths, std::vector<double>{7});
  EXPECT_LE(SHKOfflineQueue::operations().peakThreadCount(), SHKOfflineQueue::kMaxConcurrentShares);
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 0u) << "each entry is tried once";
}

// Offline, a flush changes nothing; the network gone again by the time an entry's operation runs,
// the entry waits as it was, under its uid and with its body file.
TEST_F(SHKOfflineQueueTest, AnEntryThatFindsTheNetworkGoneWaitsAsItWas) {
  auto image = graphics::Image::filled({2, 2}, graphics::Color::rgb(255, 0, 0));
  ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::image(image, "p"), "SHKQueued"));
  std::string list = readFile(SHKOfflineQueue::offlineQueueListPath());
  std::string uid = uidOf(*SHKOfflineQueue::getOfflineQueueList(), 0);
  std::string body = readFile(folder() / uid);
  network_.online = false;
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 0u);
  EXPECT_EQ(readFile(SHKOfflineQueue::offlineQueueListPath()), list);
  network_.online = true;
  EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 1u);
  network_.online = false;  // before the operation's share runs on the loop
  flushed();
  EXPECT_EQ(TestService::sends, 0);
  EXPECT_EQ(readFile(SHKOfflineQueue::offlineQueueListPath()), list);
  EXPECT_EQ(readFile(folder() / uid), body);
}

// Entries that cannot go (no login, an item the service refuses) end their operations, and the
// body files go too.
TEST_F(SHKOfflineQueueTest, OperationsThatCannotSendStillEnd) {
  auto textless = SHKItem::text("");
  textless->setText(std::nullopt);
  const std::pair<bool, std::shared_ptr<SHKItem>> cases[] = {{false, SHKItem::file({1}, "a", "b")},
                                                             {true, textless}};
  for (const auto& [loggedIn, item] : cases) {
    TestService::loggedIn = loggedIn;
    ASSERT_TRUE(SHK::addToOfflineQueue(*item, "SHKQueued"));
    std::string uid = uidOf(*SHKOfflineQueue::getOfflineQueueList(), 0);
    EXPECT_EQ(SHKOfflineQueue::flushOfflineQueue(), 1u);
    flushed();
    EXPECT_FALSE(fs::exists(folder() / uid));
  }
  EXPECT_EQ(TestService::sends, 1);
}

}  // namespace
