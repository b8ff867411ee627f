#include "app/cli/TerminalShareDriver.h"

#include <termios.h>
#include <unistd.h>
#include <chrono>

#include <iostream>

#include "platform/base/RunLoop.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKOAuthView.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/services/MailComposeViewController.h"
#include "sharing/services/SHKTwitterForm.h"

namespace {

// How long a share may take before the command gives up (requests time out sooner).
constexpr double kShareTimeoutSeconds = 300;

// Keeps typed characters off the screen while alive.
class NoEcho {
 public:
  NoEcho() : active_(tcgetattr(STDIN_FILENO, &saved_) == 0) {
    if (!active_) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  ~NoEcho() {
    if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }

 private:
  termios saved_{};
  bool active_;
};

}  // namespace

TerminalShareDriver::TerminalShareDriver(std::istream& in, std::ostream& out, std::ostream& err,
                                         bool interactive)
    : in_(in), out_(out), err_(err), interactive_(interactive) {
  root_ = std::make_shared<ui::ViewController>();
  window_ = std::make_unique<ui::Window>();
  window_->makeKeyAndVisible();
  window_->setRootViewController(root_);
  SHK::setRootViewController(root_.get());
  auto& center = base::NotificationCenter::defaultCenter();
  observers_.push_back(center.addObserver(SHKSharer::kSendDidFinishNotification,
                                          [this](auto&) { last_ = Outcome::Finished; }));
  observers_.push_back(center.addObserver(SHKSharer::kSendDidFailNotification, [this](auto&) {
    ++failures_;
    last_ = Outcome::Failed;
  }));
  observers_.push_back(center.addObserver(SHKSharer::kSendDidCancelNotification,
                                          [this](auto&) { last_ = Outcome::Cancelled; }));
}

TerminalShareDriver::~TerminalShareDriver() {
  SHK::currentHelper().reset();
  ui::AlertStack::shared().reset();
  if (ui::Application::shared().keyWindow() == window_.get()) {
    ui::Application::shared().setKeyWindow(nullptr);
  }
}

TerminalShareDriver::Result TerminalShareDriver::run(
    const std::function<std::shared_ptr<SHKSharer>()>& start) {
  std::weak_ptr<SHKSharer> sharer = start();
  auto& loop = base::RunLoop::main();
  // The time-out is real time: a loop on a virtual clock (tests) would pass it at once while
  // the service still waits for its server.
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kShareTimeoutSeconds);
  bool ended = false;
  // Over once the service is gone and nothing is left on screen.
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    loop.runFor(0.05);
    window_->layoutIfNeeded();
    printProgress();
    printAlerts();
    if (!answerScreens()) {
      cancelled_ = true;
      SHK::currentHelper().hideCurrentViewControllerAnimated(false);
    }
    ended = sharer.expired() && ui::AlertStack::shared().empty() &&
            !SHK::currentHelper().currentView() && !SHK::currentHelper().pendingView();
  }
  printProgress();
  if (windowOnly_) return WindowOnly;
  if (last_ == Outcome::Finished) return Finished;
  if (last_ == Outcome::Failed) return Failed;
  if (!ended) {
    err_ << "The share did not end in time.\n";
    return Failed;
  }
  if (last_ == Outcome::Cancelled || cancelled_) return NothingDone;
  // Services that report nothing: an alert means it did not happen, a completed message that
  // it did.
  if (alerted_) return Failed;
  return completedShown_ ? Finished : NothingDone;
}

bool TerminalShareDriver::answerScreens() {
  auto& helper = SHK::currentHelper();
  if (helper.isDismissingView()) return true;
  auto* navigation = dynamic_cast<ui::NavigationController*>(helper.currentView().get());
  if (!navigation || navigation->modalViewController() != nullptr) return true;
  ui::ViewController* top = navigation->topViewController();
  if (!top || top == answered_) return true;
  answered_ = top;
  if (auto* page = dynamic_cast<SHKOAuthView*>(top)) return answerAuthorizationPage(*page);
  if (auto* compose = dynamic_cast<SHKTwitterForm*>(top)) {
    auto status = shareValues_.find("status");
    if (status != shareValues_.end()) compose->textView()->setText(status->second);
    compose->save();
    return true;
  }
  if (auto* composer = dynamic_cast<MailComposeViewController*>(top)) return answerMail(*composer);
  auto* form = dynamic_cast<SHKFormController*>(top);
  if (!form) {
    err_ << "This service works only in the window.\n";
    windowOnly_ = true;
    // Such a screen may not report its dismissal; the helper hears of it here instead.
    helper.hideCurrentViewControllerAnimated(false);
    helper.viewWasDismissed();
    return true;
  }
  // The share form is pushed into the service; any other form is the service's login.
  if (!dynamic_cast<SHKSharer*>(navigation)) return answerLogin(*form);
  answerShareForm(*form);
  return true;
}

bool TerminalShareDriver::answerAuthorizationPage(SHKOAuthView& page) {
  // The person allows access in their own browser and brings back the address it was sent to
  // (that page need not load).
  auto request = page.webView()->request();
  out_ << "Open this address in your browser and allow access:\n"
       << (request ? request->url().absoluteString() : std::string()) << "\n";
  auto line = readLine("Address your browser was sent to: ", false);
  if (!line) return false;
  auto url = net::Url::parse(net::escapeAddress(*line));
  if (!url || page.shouldStartLoadWithRequest(*page.webView(), net::UrlRequest(*url),
                                              ui::WebViewNavigationType::Other)) {
    err_ << "That is not the service's callback address.\n";
    page.cancel();
  }
  return true;
}

bool TerminalShareDriver::answerMail(MailComposeViewController& composer) {
  composer.view();
  auto value = [&](const char* key) {
    auto found = shareValues_.find(key);
    return found == shareValues_.end() ? std::string() : found->second;
  };
  composer.toField()->setText(value("to"));
  composer.ccField()->setText(value("cc"));
  if (composer.passwordField()) {
    auto line = readLine("Password: ", true);
    if (!line) return false;
    composer.passwordField()->setText(*line);
  }
  composer.send();
  // A message that cannot go (no recipient) is not sent: the share ends cancelled.
  if (!composer.isSending()) composer.cancel();
  return true;
}

bool TerminalShareDriver::answerLogin(SHKFormController& form) {
  // The first login, and one more after a refused one; a second refusal ends the share.
  if (++logins_ > 1 + (failures_ > 0 ? 1 : 0) || failures_ > 1) {
    err_ << "Login failed.\n";
    ++failures_;
    last_ = Outcome::Failed;
    form.cancel();
    return true;
  }
  if (form.sections().empty()) return true;
  if (!form.sections().front().footer.value_or("").empty()) {
    out_ << *form.sections().front().footer << "\n";
  }
  for (const auto& field : form.sections().front().rows) {
    if (field.type == SHKFormFieldSettings::Switch) continue;
    auto line = readLine(field.label + ": ", field.type == SHKFormFieldSettings::Password);
    if (!line) return false;
    form.setValueForKey(field.key, *line);
  }
  form.navigationItem().rightBarButtonItem()->press();
  return true;
}

void TerminalShareDriver::answerShareForm(SHKFormController& form) {
  if (form.sections().empty()) return;
  for (const auto& field : form.sections().front().rows) {
    if (auto value = shareValues_.find(field.key); value != shareValues_.end()) {
      form.setValueForKey(field.key, value->second);
    }
  }
  form.navigationItem().rightBarButtonItem()->press();
}

void TerminalShareDriver::printAlerts() {
  auto& alerts = ui::AlertStack::shared();
  while (auto* alert = alerts.topAs<ui::AlertView>()) {
    err_ << alert->title() << ": " << alert->message() << "\n";
    alerted_ = true;
    alert->dismissWithClickedButtonIndex(0, false);
  }
}

void TerminalShareDriver::printProgress() {
  if (!SHKActivityIndicator::exists()) return;
  auto panel = SHKActivityIndicator::currentIndicator();
  std::string text = panel->subMessageLabel() ? panel->subMessageLabel()->text() : "";
  bool completed = panel->centerMessageLabel() &&
                   panel->centerMessageLabel()->text() == SHKActivityIndicator::kCheckMark;
  if (completed) completedShown_ = true;
  // An activity shows as going on, unless its text says so already ("Logging In...").
  bool ellipsis = text.ends_with("...") || text.ends_with("…");
  std::string line = completed || ellipsis ? text : text + "…";
  if (!text.empty() && line != lastProgress_) {
    out_ << line << "\n";
    lastProgress_ = line;
  }
}

std::optional<std::string> TerminalShareDriver::readLine(const std::string& prompt, bool secret) {
  if (interactive_) out_ << prompt << std::flush;
  std::string line;
  bool got;
  if (interactive_ && secret) {
    NoEcho noEcho;
    got = bool(std::getline(in_, line));
    out_ << "\n";
  } else {
    got = bool(std::getline(in_, line));
  }
  if (!got) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}
