// The OAuth login's own cost: a share that logs in from nothing (request token, the page in the
// headless web view with "Allow" pressed at the sandbox, the caught callback, access token into
// the keychain, then the send), against three signed fetches in a row to the same server.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <stdlib.h>

#include <filesystem>

#include "app/sandbox/ServiceSandbox.h"
#include "platform/base/RunLoop.h"
#include "platform/store/FileSecretStore.h"
#include "platform/store/Keychain.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKOAuthSharer.h"
#include "sharing/core/SHKOAuthView.h"
#include "sharing/core/helpers/oauth/OADataFetcher.h"

namespace {

std::string base;
int sends = 0;

class DanceService : public SHKOAuthSharer {
 public:
  DanceService() {
    configure(
        "tk", "ts", base + "/SHKTwitter/web/callback", base + "/SHKTwitter/web/oauth/authorize",
        base + "/SHKTwitter/web/oauth/request_token", base + "/SHKTwitter/web/oauth/access_token");
  }
  std::string sharerTitle() const override { return "Dance"; }
  bool canShareText() const override { return true; }
  bool shareRequiresInternetConnection() const override { return false; }
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override {
    ++sends;
    sendDidFinish();
    return true;
  }
};

struct Setup {
  Setup() {
    char pattern[] = "/tmp/vemo-dance-bench-XXXXXX";
    folder = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    base::RunLoop::main().setVirtualClock(true);
    keychain = std::make_unique<store::Keychain>(
        std::make_unique<store::FileSecretStore>(folder / "keychain.plist"), nullptr);
    store::Keychain::setSharedForTesting(keychain.get());
    sandbox.start();
    base = sandbox.baseUrl();
    std::vector<std::string> errors, warnings;
    SHKServiceConfig::shared().read(
        "[SHKTwitter]\nconsumer_key = tk\nconsumer_secret = ts\ncallback = " + base +
            "/SHKTwitter/web/callback\n",
        "bench.conf", errors, warnings);
    window.makeKeyAndVisible();
    window.setRootViewController(root);
    SHKSharer::registerClass("SHKDance", [] { return std::make_shared<DanceService>(); });
  }
  ~Setup() {
    SHK::currentHelper().reset();
    store::Keychain::setSharedForTesting(nullptr);
    std::filesystem::remove_all(folder);
  }
  std::filesystem::path folder;
  std::unique_ptr<store::Keychain> keychain;
  ServiceSandbox sandbox;
  ui::Window window;
  std::shared_ptr<ui::ViewController> root = std::make_shared<ui::ViewController>();
};

Setup& setup() {
  static Setup s;
  return s;
}

SHKOAuthView* page() {
  auto nav =
      std::dynamic_pointer_cast<ui::NavigationController>(SHK::currentHelper().currentView());
  return nav ? dynamic_cast<SHKOAuthView*>(nav->topViewController()) : nullptr;
}

void BM_WholeDance(benchmark::State& state) {
  Setup& s = setup();
  httplib::Client client("127.0.0.1", s.sandbox.port());
  auto& loop = base::RunLoop::main();
  for (auto _ : state) {
    SHKOAuthSharer::deleteStoredAccessToken("SHKDance");
    int before = sends;
    auto sharer = SHKSharer::shareText("SHKDance", "hi");
    loop.runUntilCondition([] { return page() != nullptr; }, 10);
    SHKOAuthView* view = page();
    if (!view) {
      state.SkipWithError("no authorisation page");
      break;
    }
    auto& engine = dynamic_cast<ui::HeadlessWebEngine&>(view->webView()->engine());
    const net::Url& url = engine.startedRequests().back().url();
    client.Get(url.path() + "?" + url.query().value_or(""));
    engine.finishLoad("Authorise");
    auto allowed =
        client.Post(url.path(), url.query().value_or(""), "application/x-www-form-urlencoded");
    engine.navigate(net::UrlRequest(*net::Url::parse(allowed->get_header_value("Location"))),
                    ui::WebViewNavigationType::Other);
    loop.runUntilCondition([&] { return sends > before; }, 10);
    sharer.reset();
    // The page's dismissal and the service's release.
    loop.runUntilCondition([] { return !SHK::currentHelper().currentView(); }, 10);
  }
}
BENCHMARK(BM_WholeDance)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ThreeSignedFetches(benchmark::State& state) {
  Setup& s = setup();
  auto url = *net::Url::parse(s.sandbox.baseUrl() + "/SHKTwitter/web/oauth/request_token");
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      auto request = std::make_shared<OAMutableURLRequest>(url, OAConsumer("tk", "ts"));
      request->setHttpMethod("POST");
      OADataFetcher::fetchDataWithRequest(request, {});
    }
  }
}
BENCHMARK(BM_ThreeSignedFetches)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
