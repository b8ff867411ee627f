#pragma once
#include <string>
#include <vector>

#include "platform/base/NotificationCenter.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKSharer.h"
#include "tests/sharing/core/SharingTestSupport.h"

// A sharing window that records every share outcome by notification name, the panel's text and
// the alert on top.
class ServiceTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    for (const char* name :
         {SHKSharer::kSendDidStartNotification, SHKSharer::kSendDidFinishNotification,
          SHKSharer::kSendDidFailNotification, SHKSharer::kSendDidCancelNotification}) {
      tokens_.push_back(base::NotificationCenter::defaultCenter().addObserver(
          name, [this](const base::Notification& n) { outcomes_.push_back(n.name); }));
    }
  }
  void TearDown() override {
    tokens_.clear();
    SharingTest::TearDown();
  }
  // The completed message on the progress panel, "" when there is none.
  std::string panelText() {
    if (!SHKActivityIndicator::exists()) return "";
    auto* label = SHKActivityIndicator::currentIndicator()->subMessageLabel();
    return label ? label->text() : "";
  }
  std::string alertMessage() {
    auto* a = ui::AlertStack::shared().topAs<ui::AlertView>();
    return a ? a->message() : "";
  }

  std::vector<std::string> outcomes_;
  std::vector<base::ObserverToken> tokens_;
};
