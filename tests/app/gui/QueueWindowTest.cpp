// Shares kept in the offline queue before the window starts go out when it does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/graphics/Image.h"
#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "tests/app/gui/WindowProgram.h"
#include "tests/support/TempDir.h"

namespace {

// Keeps the program on the keychain file of the test's folder, away from a desktop keyring.
class NoSessionBus {
 public:
  NoSessionBus() {
    if (const char* bus = getenv("DBUS_SESSION_BUS_ADDRESS")) saved_ = bus;
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
  ~NoSessionBus() {
    if (saved_) setenv("DBUS_SESSION_BUS_ADDRESS", saved_->c_str(), 1);
  }

 private:
  std::optional<std::string> saved_;
};

}  // namespace

// A picture for Tumblr (list entry and body file) and a link for Instapaper, queued before the
// window starts, reach the sandbox once it has; the queue is empty then.
TEST(QueueWindow, SendsSharesQueuedBeforeItStarted) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  NoSessionBus noBus;
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  {
    store::Keychain keychain(
        std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath()), nullptr);
    store::Keychain::setSharedForTesting(&keychain);
    SHK::setAuthValue("ann@example.test", "email", "SHKTumblr");
    SHK::setAuthValue("pw", "password", "SHKTumblr");
    SHK::setAuthValue("ann", "username", "SHKInstapaper");
    SHK::setAuthValue("pw", "password", "SHKInstapaper");
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
    int tumblr = 0, instapaper = 0;
    for (const auto& r : sandbox.log().requests()) {
      tumblr += r.service == "SHKTumblr" && r.path == "/api/write" &&
                r.body.find("name=\"data\"; filename=\"upload.jpg\"") != std::string::npos;
      instapaper += r.service == "SHKInstapaper" && r.path == "/api/add" &&
                    r.body.starts_with("url=http%3A%2F%2Fnews.example%2Fqueued&");
    }
    return std::pair(tumblr, instapaper);
  };
  Program program;
  ASSERT_NO_FATAL_FAILURE(program.start({"--services", sandbox.baseUrl()}));
  for (int i = 0; i < 300 && sent() != std::pair(1, 1); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(sent(), std::pair(1, 1));
  for (int i = 0; i < 50 && !std::filesystem::is_empty(folder); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(std::filesystem::is_empty(folder)) << "the list and the body file are gone";
  program.stop();
}
