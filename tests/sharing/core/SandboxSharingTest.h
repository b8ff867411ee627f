#pragma once
#include <httplib.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHKOAuthView.h"
#include "tests/sharing/core/SharingTestSupport.h"

// Share services against the sandbox on loopback, every service host pointed at it. For OAuth
// logins the test plays the person at the page: the headless engine is driven with what the
// sandbox's page does.
class SandboxSharingTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    ASSERT_TRUE(sandbox_.start());
    SHKServiceConfig::shared().pointServicesAt(sandbox_.baseUrl());
    client_ = std::make_unique<httplib::Client>("127.0.0.1", sandbox_.port());
  }
  void TearDown() override {
    if (!service_.empty()) SHKSharer::unregisterClass(service_);
    SharingTest::TearDown();
  }

  // Reads `settings` over the sandbox's hosts and registers `service`'s sharer.
  void useService(const std::string& service, const std::string& settings,
                  SHKSharer::Factory factory) {
    std::vector<std::string> errors, warnings;
    ASSERT_TRUE(SHKServiceConfig::shared().read(settings, "test.conf", errors, warnings));
    SHKSharer::registerClass(service, std::move(factory));
    service_ = service;
  }
  // Answers `route` ("host METHOD /path") of `service` with `status`, `body` and an X-Error
  // header when one is given.
  void answer(const std::string& service, const std::string& route, int status,
              const std::string& body = "", const std::string& xError = "") {
    std::istringstream words(route);
    std::string host, method, path;
    words >> host >> method >> path;
    sandbox_.handle(service, host, method, path, [=](const SandboxRequest&, httplib::Response& r) {
      r.status = status;
      r.set_content(body, "text/plain");
      if (!xError.empty()) r.set_header("X-Error", xError);
    });
  }
  std::deque<SandboxRequest> requests() { return sandbox_.log().requests(); }
  std::vector<SandboxRequest> calls(const std::string& path) {
    std::vector<SandboxRequest> out;
    std::ranges::copy_if(requests(), std::back_inserter(out),
                         [&](auto& r) { return r.path == path; });
    return out;
  }
  static std::string header(const SandboxRequest& r, const std::string& name) {
    auto it = std::ranges::find_if(r.headers, [&](auto& h) { return h.first == name; });
    return it == r.headers.end() ? "" : it->second;
  }
  // Runs the loop until `done` (in real time: answers cross a socket), `seconds` at most.
  static bool waitFor(const std::function<bool()>& done, double seconds = 20) {
    return base::RunLoop::main().runUntilCondition(done, seconds);
  }
  bool waitForEnd() {
    return waitFor([this] { return !endings().empty(); }, 10);
  }
  // The helper's top screen once it is a `T` (null after ten seconds without one).
  template <class T>
  T* top() {
    waitFor([this] { return shown<T>() != nullptr; }, 10);
    return shown<T>();
  }
  std::string alert() {
    waitFor([] { return !ui::AlertStack::shared().empty(); }, 10);
    return alertText();
  }
  static ui::HeadlessWebEngine& engine(SHKOAuthView* view) {
    return dynamic_cast<ui::HeadlessWebEngine&>(view->webView()->engine());
  }

  // Plays the person at the page: loads it from the sandbox and presses "Allow"; returns where the
  // provider redirects.
  std::string allow(SHKOAuthView* view) {
    auto& web = engine(view);
    EXPECT_EQ(web.startedRequests().size(), 1u);
    const net::Url& page = web.startedRequests().back().url();
    std::string path = page.path() + "?" + page.query().value_or("");
    auto got = client_->Get(path);
    EXPECT_TRUE(got && got->body.find("Allow") != std::string::npos);
    web.finishLoad("Authorise");
    std::string token = path.substr(path.find("oauth_token=") + 12);
    auto allowed =
        client_->Post(page.path(), "oauth_token=" + token, "application/x-www-form-urlencoded");
    return allowed ? allowed->get_header_value("Location") : "";
  }
  // The whole page: waits for it, allows, and lets the redirect reach the web view (which must
  // refuse it). False when any of it did not happen.
  bool passPage() {
    SHKOAuthView* view = top<SHKOAuthView>();
    if (!view) return false;
    auto url = net::Url::parse(allow(view));
    return url && !engine(view).navigate(net::UrlRequest(*url), ui::WebViewNavigationType::Other);
  }

  ServiceSandbox sandbox_;
  std::unique_ptr<httplib::Client> client_;
  std::string service_;
};
