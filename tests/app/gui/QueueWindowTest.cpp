#include <gtest/gtest.h>

#include "platform/graphics/Image.h"
#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "tests/app/gui/WindowProgram.h"

namespace {

using QueueWindow = WindowTest;

// A picture for Tumblr (list entry and body file) and a link for Instapaper, queued before the
// window starts, reach the sandbox once it has; the queue is empty then.
TEST_F(QueueWindow, SendsSharesQueuedBeforeItStarted) {
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  {
    store::Keychain keychain(
        std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath()), nullptr);
    store::Keychain::setSharedForTesting(&keychain);
    for (const char* service : {"SHKTumblr", "SHKInstapaper"})
      for (const auto& [key, value] :
           {std::pair{"email", "ann@example.test"}, {"username", "ann"}, {"password", "pw"}})
        SHK::setAuthValue(value, key, service);
    store::Keychain::setSharedForTesting(nullptr);
  }
  SHKOfflineQueue::install();
  auto picture = graphics::Image::filled({8, 6}, graphics::Color::rgb(0, 128, 0));
  ASSERT_TRUE(SHK::addToOfflineQueue(*SHKItem::image(picture, "Green"), "SHKTumblr"));
  ASSERT_TRUE(SHK::addToOfflineQueue(
      *SHKItem::URL(*net::Url::parse("http://news.example/queued"), "Queued"), "SHKInstapaper"));
  SHK::setOfflineQueueAdder(nullptr);
  const std::filesystem::path folder = SHKOfflineQueue::offlineQueuePath();
  ASSERT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2) << "list and body";

  ASSERT_NO_FATAL_FAILURE(vemo_.start({"--services", sandbox.baseUrl()}));
  EXPECT_TRUE(eventually(
      [&] {
        return !bodies(sandbox, "/api/write").empty() && !bodies(sandbox, "/api/add").empty();
      },
      30));
  EXPECT_TRUE(eventually([&] { return std::filesystem::is_empty(folder); }, 5))
      << "the list and the body file are gone";
}

}  // namespace
