// The Facebook panels with WebKit pages (run under xvfb-run) against the sandbox: the log-in
// page's redirect is caught, and the publishing page gets the share's text exactly and never as
// script.
#include <gtest/gtest.h>

#include <string>

#include "app/gui/WebKitEngine.h"
#include "app/sandbox/ServiceSandbox.h"
#include "facebook/FBLoginDialog.h"
#include "facebook/FBSession.h"
#include "platform/base/RunLoop.h"
#include "sharing/config/SHKServiceConfig.h"
#include "sharing/services/SHKFBStreamDialog.h"
#include "sharing/services/SHKFacebook.h"
#include "tests/app/gui/GtkTestWindow.h"
#include "tests/support/TempDir.h"

namespace {

struct Outcome : FBDialogDelegate {
  std::string last;
  void dialogDidSucceed(FBDialog&) override { last = "succeeded"; }
  void dialogDidCancel(FBDialog&) override { last = "cancelled"; }
  void dialogDidFailWithError(FBDialog&, const net::Error& e) override {
    last = "failed " + e.description();
  }
};

TEST(FacebookPanelWebKit, LogInAndPrefill) {
  ASSERT_TRUE(gtk_init_check());
  testing_support::TempDir dir;
  ServiceSandbox sandbox;
  ASSERT_TRUE(sandbox.start());
  SHKServiceConfig::shared().pointServicesAt(sandbox.baseUrl());
  ui::WebEngine::setFactory([] { return std::make_unique<WebKitEngine>(); });
  auto session = FBSession::create("", std::string(), std::nullopt, SHKFacebook::configuredHosts());
  GtkWidget* window = presentWindow(320, 480);
  Outcome outcome;
  // Puts the panel's page on screen, shows the panel (no key window: only its page loads).
  auto present = [&](FBDialog& dialog) {
    dialog.setDelegate(&outcome);
    placePage(window, dynamic_cast<WebKitEngine&>(dialog.webView().engine()), 300, 400);
    dialog.show();
  };
  auto js = [](FBDialog& dialog, const std::string& script) {
    return dialog.webView().stringByEvaluatingJavaScriptFromString(script);
  };

  auto login = std::make_shared<FBLoginDialog>(session);
  present(*login);
  ASSERT_TRUE(runLoopsUntil([&] { return login->title().starts_with("Log in"); })) << outcome.last;
  js(*login,
     "document.getElementById('email').value='a@b.test';"
     "document.getElementById('pass').value='x';"
     "document.getElementById('login').click();");
  // The page's redirect to fbdialog://success is caught and its token exchanged.
  ASSERT_TRUE(runLoopsUntil([&] { return session->isConnected() || !outcome.last.empty(); }));
  ASSERT_TRUE(session->isConnected()) << outcome.last;

  // The text as the page's message box holds it (when not as given): the form-value encoding
  // reads "&amp;" as "&"; a text area keeps "\n" for a line break.
  const std::pair<const char*, const char*> texts[] = {
      {"it's back\\slash \"quoted\", %27 escaped, a lone %", nullptr},
      {"two\nlines\r\nand a tab\t", "two\nlines\nand a tab\t"},
      {"line\u2028separator", nullptr},
      {"Tiêu đề </script><script>window.ran=1</script>", nullptr},
      {"'); window.ran=1; ('", nullptr},
      {"&amp; stays an ampersand", "& stays an ampersand"},
  };
  for (const auto& [text, shown] : texts) {
    SCOPED_TRACE(text);
    auto stream = std::make_shared<SHKFBStreamDialog>(session);
    stream->setDefaultStatus(text);
    stream->setAttachment("{\"name\":\"n\",\"href\":\"http%3A%2F%2Fa.test\"}");
    present(*stream);
    ASSERT_TRUE(runLoopsUntil([&] { return stream->title().starts_with("Publish"); }));
    EXPECT_EQ(js(*stream, "document.getElementsByName('feedform_user_message')[0].value"),
              shown ? shown : text);
    EXPECT_EQ(js(*stream, "typeof window.ran"), "undefined");
    stream->dismissWithSuccess(false, false);
  }
  gtk_window_destroy(GTK_WINDOW(window));
  ui::WebEngine::setFactory(nullptr);
  session.reset();
  base::RunLoop::main().reset();
}

}  // namespace
