// Shares kept in the offline queue before the window starts go out when it does.
#include <gtest/gtest.h>

#include "app/sandbox/ServiceSandbox.h"
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
  // The program keeps to the keychain file of the test's folder, away from a desktop keyring.
  ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", nullptr);
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  {
    store::Keychain keychain(
        std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath()), nullptr);
    store::Keychain::setSharedForTesting(&keychain);
    for (const char* service : {"SHKTumblr", "SHKInstapaper"}) {
      SHK::setAuthValue("ann@example.test", "email", service);
      SHK::setAuthValue("ann", "username", service);
      SHK::setAuthValue("pw", "password", service);
    }
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

  auto sent = [&sandbox] {
    std::string paths;
    for (const auto& r : sandbox.log().requests()) paths += r.service + r.path + " ";
    return paths.find("SHKTumblr/api/write") != std::string::npos &&
           paths.find("SHKInstapaper/api/add") != std::string::npos;
  };
  ASSERT_NO_FATAL_FAILURE(vemo_.start({"--services", sandbox.baseUrl()}));
  EXPECT_TRUE(eventually(sent, 30));
  EXPECT_TRUE(eventually([&] { return std::filesystem::is_empty(folder); }, 5))
      << "the list and the body file are gone";
}

}  // namespace
