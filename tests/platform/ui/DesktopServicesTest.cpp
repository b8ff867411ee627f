#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using DesktopServicesTest = UiTest;

TEST_F(DesktopServicesTest, OpenURLHandsOnlyWebAndMailAddressesToTheDesktop) {
  std::vector<std::string> handed;
  bool handlerAnswer = true;
  ui::Application::shared().setOpenURLHandler([&](const std::string& url) {
    handed.push_back(url);
    return handlerAnswer;
  });
  const std::pair<const char*, bool> rows[] = {
      {"http://vemo.vn/a?b=c", true},
      {"HTTPS://vemo.vn/", true},
      {"mailto:ban@vemo.vn?subject=Hay&body=x", true},
      {"JavaScript:alert(1)", false},
      {"http:relative", false},
      {"no scheme", false},
      {"http://vemo.vn/\n--flag", false},
      {"mailto:a@b.vn?attach=/home/u/.ssh/id_rsa", false},
      {"mailto:a@b.vn?subject=x&Attachment=file:///etc/passwd", false},
      {"mailto:a@b.vn?%61ttach=/etc/passwd", false}};
  for (auto [url, opened] : rows) {
    SCOPED_TRACE(url);
    handed.clear();
    EXPECT_EQ(ui::Application::shared().openURL(url), opened);
    EXPECT_EQ(handed.size(), opened ? 1u : 0u);
  }
  handlerAnswer = false;  // the desktop could not launch a handler
  EXPECT_FALSE(ui::Application::shared().openURL("http://vemo.vn/"));
  ui::Application::shared().setOpenURLHandler(nullptr);
  EXPECT_FALSE(ui::Application::shared().openURL("http://vemo.vn/"));
}

}  // namespace
