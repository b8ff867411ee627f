#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/WebView.h"
#include "tests/platform/ui/UiTestSupport.h"

using ui::WebViewNavigationType;

namespace {

struct Recorder : ui::WebViewDelegate {
  std::vector<std::string> calls;
  bool allow = true;
  std::string titleAtStart;
  bool shouldStartLoadWithRequest(ui::WebView&, const net::UrlRequest& r,
                                  WebViewNavigationType type) override {
    calls.push_back("should " + r.url().absoluteString() + " " +
                    std::to_string(static_cast<int>(type)));
    return allow;
  }
  void webViewDidStartLoad(ui::WebView& w) override {
    calls.push_back("start");
    titleAtStart = w.stringByEvaluatingJavaScriptFromString("document.title");
  }
  void webViewDidFinishLoad(ui::WebView&) override { calls.push_back("finish"); }
  void didFailLoadWithError(ui::WebView&, const net::Error& e) override {
    calls.push_back("fail " + std::to_string(e.code()));
  }
};

class WebViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    web->setDelegate(&recorder);
    ASSERT_NE(engine, nullptr);
  }
  Recorder recorder;
  std::shared_ptr<ui::WebView> web = std::make_shared<ui::WebView>(graphics::Rect{0, 44, 320, 416});
  ui::HeadlessWebEngine* engine = dynamic_cast<ui::HeadlessWebEngine*>(&web->engine());
};

constexpr int kOther = static_cast<int>(WebViewNavigationType::Other);
constexpr int kLink = static_cast<int>(WebViewNavigationType::LinkClicked);

TEST_F(WebViewTest, DelegateHearsShouldStartThenStartThenFinish) {
  web->loadRequest("http://site/a.html");
  EXPECT_TRUE(web->isLoading());
  engine->finishLoad("Page A");
  EXPECT_FALSE(web->isLoading());
  EXPECT_EQ(recorder.calls,
            (std::vector<std::string>{"should http://site/a.html " + std::to_string(kOther),
                                      "start", "finish"}));
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("document.title"), "Page A");
}

TEST_F(WebViewTest, FailedLoadKeepsThePageOnScreen) {
  web->loadRequest("http://site/a.html");
  engine->finishLoad("Page A");
  engine->clickLink("http://site/b.html");
  EXPECT_EQ(recorder.titleAtStart, "Page A") << "scripts run in the page still on screen";
  engine->failLoad(net::Error("net", net::Error::CannotConnectToHost, "down"));
  EXPECT_EQ(recorder.calls.back(), "fail " + std::to_string(net::Error::CannotConnectToHost));
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site/a.html");
}

TEST_F(WebViewTest, RefusedNavigationLoadsNothing) {
  recorder.allow = false;
  web->loadRequest("http://callback/?oauth_token=x");
  EXPECT_EQ(recorder.calls.size(), 1u);
  EXPECT_TRUE(engine->startedRequests().empty());

  // A refused link leaves the running load alone.
  recorder.allow = true;
  web->loadRequest("http://site/a.html");
  recorder.allow = false;
  EXPECT_FALSE(engine->clickLink("http://elsewhere/"));
  EXPECT_TRUE(web->isLoading());
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site/a.html");
}

TEST_F(WebViewTest, NewNavigationCutsTheRunningLoadShort) {
  web->loadRequest("http://site/a.html");
  recorder.calls.clear();
  engine->clickLink("http://site/b.html");
  EXPECT_EQ(recorder.calls,
            (std::vector<std::string>{"should http://site/b.html " + std::to_string(kLink),
                                      "fail " + std::to_string(net::Error::Cancelled), "start"}));
  web->stopLoading();
  EXPECT_EQ(recorder.calls.back(), "fail " + std::to_string(net::Error::Cancelled));
  EXPECT_FALSE(web->isLoading());
}

TEST_F(WebViewTest, InvalidAddressReportsAFailureInsteadOfNothing) {
  web->loadRequest("http://site/bài viết.html");
  EXPECT_TRUE(recorder.calls.empty());
  base::RunLoop::main().runUntilIdle();
  EXPECT_EQ(recorder.calls,
            (std::vector<std::string>{"fail " + std::to_string(net::Error::BadURL)}));
  EXPECT_TRUE(engine->startedRequests().empty());
}

TEST_F(WebViewTest, DelegateMayDestroyTheWebViewWhileHearingALoad) {
  struct Closer : ui::WebViewDelegate {
    std::shared_ptr<ui::WebView>* owner;
    void didFailLoadWithError(ui::WebView&, const net::Error&) override { owner->reset(); }
  } closer;
  closer.owner = &web;
  web->setDelegate(&closer);
  web->loadRequest("http://site/a.html");
  engine->clickLink("http://site/b.html");  // the cut-short load closes the view
  EXPECT_EQ(web, nullptr);
}

TEST_F(WebViewTest, HtmlStringLoadsAtItsBaseAddress) {
  web->loadHTMLString("<p>hi</p>", net::Url::parse("http://site/"));
  engine->finishLoad("t");
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site/");
}

}  // namespace
