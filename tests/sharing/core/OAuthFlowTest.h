#pragma once
#include <httplib.h>

#include <memory>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHKOAuthView.h"
#include "tests/sharing/core/SharingTestSupport.h"

// Share services that log in with OAuth against the sandbox, with a person at the page played by
// the test: the headless engine is driven with what the sandbox's page does.
class OAuthFlowTest : public SharingTest {
 protected:
  void SetUp() override {
    SharingTest::SetUp();
    ASSERT_TRUE(sandbox_.start());
    client_ = std::make_unique<httplib::Client>("127.0.0.1", sandbox_.port());
  }
  void TearDown() override {
    if (!service_.empty()) SHKSharer::unregisterClass(service_);
    SharingTest::TearDown();
  }

  // Points the services at the sandbox, reads `settings` and registers `service`'s sharer.
  void useService(const std::string& service, const std::string& settings,
                  SHKSharer::Factory factory) {
    auto& config = SHKServiceConfig::shared();
    config.pointServicesAt(sandbox_.baseUrl());
    std::vector<std::string> errors, warnings;
    ASSERT_TRUE(config.read(settings, "test.conf", errors, warnings));
    SHKSharer::registerClass(service, std::move(factory));
    service_ = service;
  }
  bool waitForEnd() {
    return base::RunLoop::main().runUntilCondition([this] { return !endings().empty(); }, 10);
  }
  // Answers `method` `path` on `service`'s `host` with `status` and `body`.
  void answer(const std::string& service, const std::string& host, const std::string& method,
              const std::string& path, int status, const std::string& body) {
    sandbox_.handle(service, host, method, path, [=](const SandboxRequest&, httplib::Response& r) {
      r.status = status;
      r.set_content(body, "text/plain");
    });
  }
  // The calls the sandbox received for `path`.
  std::vector<SandboxRequest> calls(const std::string& path) {
    std::vector<SandboxRequest> out;
    for (auto& r : sandbox_.log().requests()) {
      if (r.path == path) out.push_back(r);
    }
    return out;
  }
  // The helper's top screen once it is a `T` (null after ten seconds without one).
  template <class T>
  T* top() {
    base::RunLoop::main().runUntilCondition([this] { return shown<T>() != nullptr; }, 10);
    return shown<T>();
  }
  static ui::HeadlessWebEngine& engine(SHKOAuthView* view) {
    return dynamic_cast<ui::HeadlessWebEngine&>(view->webView()->engine());
  }
  std::string alert() {
    base::RunLoop::main().runUntilCondition([] { return !ui::AlertStack::shared().empty(); }, 10);
    return alertText();
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
