#include "sharing/core/SHKOAuthSharer.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "tests/sharing/core/SandboxSharingTest.h"

namespace {

// A service that logs in at the sandbox's Twitter provider and whose send finishes at once.
class FlowService : public SHKOAuthSharer {
 public:
  FlowService() {
    configure("tk", "t&secret", base + "/SHKTwitter/web/callback",
              base + "/SHKTwitter/web/oauth/authorize", base + requestPath,
              base + "/SHKTwitter/web/oauth/access_token");
  }
  std::string sharerTitle() const override { return "Test"; }
  bool canShareText() const override { return true; }
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override {
    ++sends;
    sendDidFinish();
    return true;
  }
  static inline std::string base;
  static inline std::string requestPath;
  static inline int sends = 0;
};

class SHKOAuthSharerTest : public SandboxSharingTest {
 protected:
  void SetUp() override {
    SandboxSharingTest::SetUp();
    FlowService::base = sandbox_.baseUrl();
    FlowService::requestPath = "/SHKTwitter/web/oauth/request_token";
    FlowService::sends = 0;
    useService("SHKFlowService",
               "[SHKTwitter]\nconsumer_key = tk\nconsumer_secret = t&secret\ncallback = " +
                   sandbox_.baseUrl() + "/SHKTwitter/web/callback\n",
               [] { return std::make_shared<FlowService>(); });
  }
  std::shared_ptr<SHKSharer> shareText() { return SHKSharer::shareText("SHKFlowService", "hi"); }
};

}  // namespace

TEST_F(SHKOAuthSharerTest, WholeFlowCatchesTheRedirectAndShares) {
  auto sharer = shareText();
  SHKOAuthView* view = top<SHKOAuthView>();
  ASSERT_NE(view, nullptr);
  std::string location = allow(view);
  ASSERT_TRUE(location.starts_with(sandbox_.baseUrl() + "/SHKTwitter/web/callback?oauth_token="))
      << location;
  EXPECT_FALSE(engine(view).navigate(net::UrlRequest(*net::Url::parse(location)),
                                     ui::WebViewNavigationType::Other))
      << "the callback is refused";
  ASSERT_TRUE(base::RunLoop::main().runUntilCondition([] { return FlowService::sends > 0; }, 10));
  EXPECT_EQ(FlowService::sends, 1);
  EXPECT_TRUE(SHK::getAuthValueForKey("accessSecret", "SHKFlowService"));
  runFor(3);
}

// Token answers that are not whole tokens, and failed transfers, end with the step's alert.
TEST_F(SHKOAuthSharerTest, BadTokenAnswersAreRequestErrors) {
  const std::pair<int, const char*> cases[] = {{200, "oauth_token=abc"},
                                               {200, "oauth_token_secret=abc"},
                                               {200, "<html>hello</html>"},
                                               {500, "oauth_token=a&oauth_token_secret=b"}};
  FlowService::requestPath = "/SHKTumblr/api/token";
  for (const auto& [status, body] : cases) {
    answer("SHKTumblr", "api POST /token", status, body);
    auto sharer = shareText();
    EXPECT_EQ(alert(), "Request Error: There was a problem requesting authorization from Test")
        << body;
    ui::AlertStack::shared().reset();
  }
}

TEST_F(SHKOAuthSharerTest, FailedRefreshFailsTheWaitingShare) {
  auto sharer = std::static_pointer_cast<FlowService>(SHKSharer::create("SHKFlowService"));
  sharer->setItem(SHKItem::text("hi"));
  sharer->setAccessToken(OAToken("unknown", "x"));
  sharer->sendDidStart();
  sharer->refreshToken();
  alert();
  runFor(1);
  EXPECT_EQ(ui::AlertStack::shared().count(), 2u) << "the step's alert and the share's";
  EXPECT_EQ(endings(), Strings{kFail});
  EXPECT_EQ(SHK::getAuthValueForKey("accessKey", "SHKFlowService"), std::nullopt)
      << "nothing stored from a refused answer";
}

TEST_F(SHKOAuthSharerTest, AuthorisedOnlyWithKeyAndSecret) {
  auto authorised = [] { return SHKSharer::create("SHKFlowService")->isAuthorized(); };
  SHK::setAuthValue("k", "accessKey", "SHKFlowService");
  EXPECT_FALSE(authorised());
  SHK::setAuthValue("s", "accessSecret", "SHKFlowService");
  EXPECT_TRUE(authorised());
  SHK::logoutOfService("SHKFlowService");
  EXPECT_FALSE(authorised());
}

// Load errors from the callback's own refusal pass; others end the authorisation.
TEST_F(SHKOAuthSharerTest, LoadErrorsOfThePage) {
  for (long code : {-999L, 102L, -1100L, -1004L}) {
    auto sharer = shareText();
    SHKOAuthView* view = top<SHKOAuthView>();
    ASSERT_NE(view, nullptr);
    engine(view).failLoad(net::Error("net", code, "could not connect"));
    runFor(1);
    EXPECT_EQ(alertText(), code == -1004 ? "Authorize Error: could not connect" : "") << code;
    if (SHK::currentHelper().currentView()) view->cancel();
    runFor(2);
    ui::AlertStack::shared().reset();
  }
}

TEST(SHKOAuthView, CallbackIsAPrefixOfTheAddress) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"http://news.example/", "http://news.example", true},
      {"http://news.example", "http://news.example/", true},
      {"HTTP://News.Example/?oauth_token=a", "http://news.example", true},
      {"http://news.example/oauthcallback/x?y=1", "http://news.example/oauthcallback", true},
      {"https://news.example/", "http://news.example", false},
      {"http://news.example:8080/", "http://news.example", false},
      {"http://news.example.evil/", "http://news.example", false},
      {"https://elsewhere/?r=http://news.example/", "http://news.example", false},
      {"http://news.example/other", "http://news.example/oauthcallback", false},
      {"http://news.example/OAuthCallback", "http://news.example/oauthcallback", false},
  };
  for (const auto& [address, callback, matches] : cases) {
    EXPECT_EQ(SHKOAuthView::matchesCallback(*net::Url::parse(address), *net::Url::parse(callback)),
              matches)
        << address << " vs " << callback;
  }
}

TEST(SHKOAuthView, CallbackQueryKeptAsItArrived) {
  using Map = std::map<std::string, std::string>;
  const std::pair<const char*, std::optional<Map>> cases[] = {
      {"http://cb/", std::nullopt},
      {"http://cb/?", Map{}},
      {"http://cb/?oauth_verifier=a%2Bb&oauth_token=t",
       Map{{"oauth_verifier", "a%2Bb"}, {"oauth_token", "t"}}},
      {"http://cb/?a=1&a=2&b&c=d=e&=x", Map{{"a", "2"}, {"", "x"}}},
  };
  for (const auto& [address, params] : cases) {
    EXPECT_EQ(SHKOAuthView::queryParameters(*net::Url::parse(address)), params) << address;
  }
}
