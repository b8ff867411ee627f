#pragma once
#include <httplib.h>

#include <deque>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/store/UserDefaults.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/services/WebServiceSharers.h"
#include "tests/sharing/core/SharingTestSupport.h"

// The sharing test window with every service host pointed at a sandbox on loopback and the web
// services registered.
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
  // Answers `path` of `service`'s `host` with `status` and `body`.
  void answer(const std::string& service, const std::string& host, const std::string& method,
              const std::string& path, int status, const std::string& body = "") {
    sandbox_.handle(service, host, method, path, [=](const SandboxRequest&, httplib::Response& r) {
      r.status = status;
      r.set_content(body, "text/plain");
    });
  }
  // Logged out, shares a link and types `user` and `password` into the login form; waits until
  // an alert or an outcome shows, or `key` (when given) is stored.
  void logInWithForm(const std::string& service, const std::string& user,
                     const std::string& password, const std::string& key = "") {
    startOver();
    SHK::logoutOfService(service);
    SHKSharer::shareItem(service, SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
    submitForm({user, password});
    waitFor([&] {
      return !alertText().empty() || !endings().empty() ||
             (!key.empty() && SHK::getAuthValueForKey(key, service));
    });
  }
  // Shares `item` logged in as `user` (`password` under "password", the name under `userKey`).
  void shareLoggedIn(const std::string& service, std::shared_ptr<SHKItem> item,
                     const std::string& user, const std::string& password,
                     const std::string& userKey = "username") {
    startOver();
    SHK::setAuthValue(user, userKey, service);
    SHK::setAuthValue(password, "password", service);
    SHKSharer::shareItem(service, std::move(item));
    waitForOutcome();
  }
  // Runs the loop until `done` (in real time: answers cross a socket), then a second more.
  void waitFor(const std::function<bool()>& done) {
    base::RunLoop::main().runUntilCondition(done, 20);
    runFor(1);
  }
  // Until the share reported its end, or an alert shows.
  void waitForOutcome() {
    waitFor([this] { return !endings().empty() || !alertText().empty(); });
  }
  // The outcomes ("done", "failed", "cancelled"), the alert and whether a form is up.
  std::string ending() {
    std::string out = endings().empty() ? "none" : "";
    for (const auto& e : endings())
      out += e == kFinish ? "done" : e == kFail ? "failed" : "cancelled";
    if (!alertText().empty()) out += ": " + alertText();
    return form() ? out + " +form" : out;
  }
  std::deque<SandboxRequest> requests() { return sandbox_.log().requests(); }
  static std::string header(const SandboxRequest& r, const std::string& name) {
    for (const auto& [n, v] : r.headers)
      if (n == name) return v;
    return "";
  }
  ServiceSandbox sandbox_;
};
