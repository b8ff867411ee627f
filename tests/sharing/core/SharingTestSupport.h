#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/net/NetworkMonitor.h"
#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKSharer.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TempDir.h"

using Strings = std::vector<std::string>;
inline const std::string kStart = SHKSharer::kSendDidStartNotification;
inline const std::string kFinish = SHKSharer::kSendDidFinishNotification;
inline const std::string kFail = SHKSharer::kSendDidFailNotification;
inline const std::string kCancel = SHKSharer::kSendDidCancelNotification;

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

// A share service that does what the test says and records "title: text" for each send. What it
// does is set for every instance (the framework makes them) and goes back to the defaults with
// reset().
class TestService : public SHKSharer {
 public:
  // Refuse; finish at once; or start, and after `delay` seconds finish, ask for the login again
  // (finishing the next time), or finish and then report a failure and a cancel as well.
  enum class Send { Refuse, FinishNow, FinishLater, ReloginLater, ReportTwice };
  explicit TestService(std::string title = "Test", bool text = true,
                       const bool* available = nullptr)
      : title_(std::move(title)), text_(text), available_(available) {}
  std::string sharerTitle() const override { return title_; }
  bool canShareText() const override { return text_; }
  bool canShareURL() const override { return true; }
  bool canShareImage() const override { return files; }
  bool canShareFile() const override { return files; }
  bool canShare() const override { return !available_ || *available_; }
  bool requiresAuthentication() const override { return needsLogin; }
  bool isAuthorized() override { return loggedIn && SHKSharer::isAuthorized(); }
  bool canShareOffline() const override { return offline; }
  void authorizationFormValidate(SHKFormController& form) override { form.saveForm(); }
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type) override {
    return withForm ? SHKSharer::shareFormFieldsForType(type) : std::nullopt;
  }
  bool send() override {
    ++sends;
    if (!validateItem() || mode == Send::Refuse) return false;
    shared.push_back(title_ + ": " + item()->text().value_or(""));
    if (item()->image()) imageWidths.push_back(item()->image()->size().width);
    if (mode == Send::FinishNow) {
      sendDidFinish();
      return true;
    }
    sendDidStart();
    base::RunLoop::main().performAfter(delay, [self = weak_from_this(), this] {
      if (self.expired()) return;
      if (mode == Send::ReloginLater) {
        mode = Send::FinishLater;
        return sendDidFailShouldRelogin();
      }
      sendDidFinish();
      if (mode == Send::ReportTwice) {
        sendDidFailWithError(SHKError{});
        sendDidCancel();
      }
    });
    return true;
  }
  static void reset() {
    mode = Send::FinishNow;
    delay = 1;
    needsLogin = offline = withForm = files = false;
    loggedIn = true;
    sends = 0;
    shared.clear();
    imageWidths.clear();
  }
  static inline Send mode;
  static inline double delay;
  static inline bool needsLogin, loggedIn, offline, withForm, files;
  static inline std::atomic<int> sends;
  static inline std::vector<std::string> shared;
  static inline std::vector<double> imageWidths;

 private:
  std::string title_;
  bool text_;
  const bool* available_;
};

// A window with a root screen on the virtual clock, settings and credentials in a temporary
// folder, a network the test switches, and every share outcome recorded by notification name.
class SharingTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TestService::reset();
    net::NetworkMonitor::setSharedForTesting(&network_);
    store::Keychain::setSharedForTesting(&keychain_);
    SHK::currentHelper().reset();
    ui::AlertStack::shared().reset();
    window_ = std::make_unique<ui::Window>();
    window_->makeKeyAndVisible();
    window_->setRootViewController(root_);
    for (const std::string& name : {kStart, kFinish, kFail, kCancel}) {
      tokens_.push_back(base::NotificationCenter::defaultCenter().addObserver(
          name, [this](const base::Notification& n) { outcomes_.push_back(n.name); }));
    }
  }
  void TearDown() override {
    tokens_.clear();
    SHK::currentHelper().reset();
    ui::AlertStack::shared().reset();
    base::RunLoop::main().runFor(5);
    window_.reset();
    net::NetworkMonitor::setSharedForTesting(nullptr);
    store::Keychain::setSharedForTesting(nullptr);
    UiTest::TearDown();
  }
  void runFor(double seconds) { base::RunLoop::main().runFor(seconds); }
  // The completed message on the progress panel, "" when there is none.
  std::string panelText() {
    if (!SHKActivityIndicator::exists()) return "";
    auto* label = SHKActivityIndicator::currentIndicator()->subMessageLabel();
    return label ? label->text() : "";
  }
  Strings endings() const {
    Strings out;
    for (const auto& o : outcomes_)
      if (o != kStart) out.push_back(o);
    return out;
  }
  template <class T>
  T* shown() {
    auto* nav = dynamic_cast<ui::NavigationController*>(SHK::currentHelper().currentView().get());
    return nav ? dynamic_cast<T*>(nav->topViewController()) : nullptr;
  }
  SHKFormController* form() { return shown<SHKFormController>(); }
  // Types into the form's first text fields, in order, and presses the right button.
  void submitForm(const Strings& texts) {
    ASSERT_NE(form(), nullptr);
    window_->layoutIfNeeded();
    for (size_t row = 0; row < texts.size(); ++row) {
      auto* cell = dynamic_cast<ui::TableViewCell*>(
          form()->tableView().cellForRowAtIndexPath({0, static_cast<int>(row)}));
      ASSERT_NE(cell, nullptr);
      dynamic_cast<ui::TextField*>(cell->contentView()->subviews().back().get())
          ->editText(texts[row]);
    }
    form()->navigationItem().rightBarButtonItem()->press();
  }
  std::string alertText() {
    auto* a = ui::AlertStack::shared().topAs<ui::AlertView>();
    return a ? a->title() + ": " + a->message() : "";
  }

  testing_support::TempDir dir_;
  SwitchableNetwork network_;
  store::Keychain keychain_{
      std::make_unique<store::FileSecretStore>(store::FileSecretStore::defaultPath()), nullptr};
  std::shared_ptr<ui::ViewController> root_ = std::make_shared<ui::ViewController>();
  std::unique_ptr<ui::Window> window_;
  std::vector<std::string> outcomes_;
  std::vector<base::ObserverToken> tokens_;
};
