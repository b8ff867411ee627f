#include <gtest/gtest.h>

#include "platform/base/RunLoop.h"
#include "platform/ui/HeadlessWebEngine.h"
#include "platform/ui/WebView.h"
#include "tests/platform/ui/UiTestSupport.h"

using ui::WebViewNavigationType;
using Calls = std::vector<std::string>;
constexpr auto kLink = WebViewNavigationType::LinkClicked;

namespace {

std::string should(const std::string& url, WebViewNavigationType type) {
  return "should " + url + " " + std::to_string(static_cast<int>(type));
}

struct Recorder : ui::WebViewDelegate {
  std::vector<std::string> calls;
  bool allow = true;
  std::string titleAtStart;
  bool shouldStartLoadWithRequest(ui::WebView&, const net::UrlRequest& r,
                                  WebViewNavigationType type) override {
    calls.push_back(should(r.url().absoluteString(), type));
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

const std::string kCancelled = "fail " + std::to_string(net::Error::Cancelled);

// A failed load keeps the page on screen, where scripts run meanwhile; a page from text loads at
// its base address. (The screens' and dialogs' tests hear plain loads start, finish and fail.)
TEST_F(WebViewTest, AFailedLoadKeepsThePageOnScreen) {
  web->loadHTMLString("<p>hi</p>", net::Url::parse("http://site/"));
  engine->finishLoad("Page A");
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site/");
  engine->clickLink("http://site/b.html");
  EXPECT_EQ(recorder.titleAtStart, "Page A");
  engine->failLoad(net::Error("net", net::Error::CannotConnectToHost, "down"));
  EXPECT_EQ(recorder.calls.back(), "fail " + std::to_string(net::Error::CannotConnectToHost));
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site/");
}

// A refused navigation loads nothing and leaves a running load alone; a new one cuts it short.
TEST_F(WebViewTest, RefusedNavigationLoadsNothingAndANewOneCutsTheRunningLoadShort) {
  recorder.allow = false;
  web->loadRequest("http://callback/?oauth_token=x");
  EXPECT_EQ(recorder.calls,
            Calls{should("http://callback/?oauth_token=x", WebViewNavigationType::Other)});
  EXPECT_TRUE(engine->startedRequests().empty());
  recorder.allow = true;
  web->loadRequest("http://site/a.html");
  recorder.allow = false;
  EXPECT_FALSE(engine->clickLink("http://elsewhere/"));
  EXPECT_TRUE(web->isLoading());
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site/a.html");

  recorder.allow = true;
  recorder.calls.clear();
  engine->clickLink("http://site/b.html");
  EXPECT_EQ(recorder.calls, (Calls{should("http://site/b.html", kLink), kCancelled, "start"}));
  web->stopLoading();
  EXPECT_EQ(recorder.calls.back(), kCancelled);
  EXPECT_FALSE(web->isLoading());
}

TEST_F(WebViewTest, InvalidAddressReportsAFailureInsteadOfNothing) {
  web->loadRequest("http://site/bài viết.html");
  EXPECT_TRUE(recorder.calls.empty());
  loop.runUntilIdle();
  EXPECT_EQ(recorder.calls, (Calls{"fail " + std::to_string(net::Error::BadURL)}));
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

}  // namespace
