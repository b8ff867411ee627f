#pragma once
#include <httplib.h>

#include <deque>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/base/NotificationCenter.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/WebServiceSharers.h"
#include "tests/sharing/core/SharingTestSupport.h"

// The sharing test window with every service host pointed at a sandbox on loopback, the web
// services registered, and the outcome notifications and alerts recorded.
class WebServiceTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    registerWebServiceSharers();
    ASSERT_TRUE(sandbox_.start());
    SHKServiceConfig::shared().pointServicesAt(sandbox_.baseUrl());
  }
  void TearDown() override {
    startOver();
    SharingTest::TearDown();
    sandbox_.stop();
  }

  // Closes what the last case left on screen and forgets its requests and outcomes, for the
  // next case of a table.
  void startOver() {
    runFor(5);
    while (root_->modalViewController()) {
      root_->dismissModalViewController(false);
      runFor(1);
    }
    SHK::currentHelper().reset();
    ui::AlertStack::shared().reset();
    outcomes_.clear();
    sandbox_.log().clear();
  }
  // Stores a login for the service.
  void logIn(const std::string& service, const std::string& user, const std::string& password,
             const std::string& userKey = "username") {
    SHK::setAuthValue(user, userKey, service);
    SHK::setAuthValue(password, "password", service);
  }
  // Runs the loop until the share reported a finish, failure or cancel (or an alert shows).
  void waitForOutcome() {
    base::RunLoop::main().runUntilCondition(
        [this] {
          return outcomes_.size() > started() || ui::AlertStack::shared().topAs<ui::AlertView>();
        },
        20);
    runFor(1);
  }
  size_t started() const {
    size_t n = 0;
    for (const auto& o : outcomes_) n += o == SHKSharer::kSendDidStartNotification;
    return n;
  }
  // The outcomes after the start, e.g. "SHKSendDidFinish".
  std::vector<std::string> endings() const {
    std::vector<std::string> out;
    for (const auto& o : outcomes_) {
      if (o != SHKSharer::kSendDidStartNotification) out.push_back(o);
    }
    return out;
  }
  std::string alert() {
    auto* a = ui::AlertStack::shared().topAs<ui::AlertView>();
    return a ? a->title() + ": " + a->message() : "";
  }
  std::deque<SandboxRequest> requests() { return sandbox_.log().requests(); }
  static std::string header(const SandboxRequest& r, const std::string& name) {
    for (const auto& [n, v] : r.headers) {
      if (n == name) return v;
    }
    return "";
  }
  // The form on screen, if any.
  SHKFormController* form() {
    auto* nav = dynamic_cast<ui::NavigationController*>(SHK::currentHelper().currentView().get());
    return nav ? dynamic_cast<SHKFormController*>(nav->topViewController()) : nullptr;
  }
  // Types into the first section's text fields, in order, and presses the right button.
  void submitForm(const std::vector<std::string>& texts) {
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
  // Runs the loop until `done` (in real time: answers cross a socket), then a second more.
  void waitFor(const std::function<bool()>& done) {
    base::RunLoop::main().runUntilCondition(done, 20);
    runFor(1);
  }
  // Runs the loop until the sandbox received `count` requests.
  void waitForRequests(size_t count) {
    base::RunLoop::main().runUntilCondition([&] { return requests().size() >= count; }, 20);
    runFor(1);
  }

  ServiceSandbox sandbox_;
};
