#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "platform/net/NetworkMonitor.h"
#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Window.h"
#include "sharing/core/SHK.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TempDir.h"

// A network that is up or down as the test says.
class SwitchableNetwork : public net::NetworkMonitor {
 public:
  net::NetworkState state() override { return {online, net::Connectivity::Full, false}; }
  bool canReachAddress(const sockaddr_in&) override { return online; }
  void canReachHost(const std::string&, std::function<void(bool)> answer) override {
    answer(online);
  }
  ListenerId addListener(std::function<void()>) override { return 1; }
  void removeListener(ListenerId) override {}
  bool online = true;
};

// A window with a root screen on the virtual clock, settings and credentials in a temporary
// folder, and a network the test switches.
class SharingTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    net::NetworkMonitor::setSharedForTesting(&network_);
    store::Keychain::setSharedForTesting(&keychain_);
    SHK::currentHelper().reset();
    ui::AlertStack::shared().reset();
    window_ = std::make_unique<ui::Window>();
    window_->makeKeyAndVisible();
    window_->setRootViewController(root_);
  }
  void TearDown() override {
    SHK::currentHelper().reset();
    ui::AlertStack::shared().reset();
    base::RunLoop::main().runFor(5);
    window_.reset();
    net::NetworkMonitor::setSharedForTesting(nullptr);
    store::Keychain::setSharedForTesting(nullptr);
    UiTest::TearDown();
  }
  void runFor(double seconds) { base::RunLoop::main().runFor(seconds); }

  testing_support::TempDir dir_;
  SwitchableNetwork network_;
  store::Keychain keychain_{
      std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath()), nullptr};
  std::shared_ptr<ui::ViewController> root_ = std::make_shared<ui::ViewController>();
  std::unique_ptr<ui::Window> window_;
};
