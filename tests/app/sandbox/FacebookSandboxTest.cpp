#include <gtest/gtest.h>
#include <httplib.h>

#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "facebook/FBLoginDialog.h"
#include "facebook/FBRequest.h"
#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSession.h"
#include "platform/base/RunLoop.h"
#include "platform/graphics/Image.h"
#include "tests/support/TempDir.h"

namespace {

// The sandbox's Facebook: log-in page, REST server and publishing pages, driven as the program
// drives them. Each REST answer is noted as "method ok key=value..." or "method error code".
class FacebookSandboxTest : public ::testing::Test, public FBRequestDelegate {
 protected:
  void SetUp() override { ASSERT_TRUE(sandbox.start()); }
  void TearDown() override { base::RunLoop::main().reset(); }
  void requestDidLoad(FBRequest& r, const FBValue& v) override {
    seen.push_back(*r.method() + " ok");
    for (const char* key : {"session_key", "secret", "pid", "caption"})
      if (const std::string* s = v.member(key).string())
        seen.back() += std::string(" ") + key + "=" + *s;
  }
  void requestDidFailWithError(FBRequest& r, const FBError& e) override {
    seen.push_back(*r.method() + " error " + std::to_string(e.code));
  }
  httplib::Result post(const std::string& page, const std::string& body,
                       const char* type = "application/x-www-form-urlencoded") {
    return httplib::Client("127.0.0.1", sandbox.port()).Post("/SHKFacebook/web" + page, body, type);
  }
  // Logs in on the page; the auth token from the redirect, or "" when there was none.
  std::string logIn(const std::string& password) {
    auto res = post("/login.php", "email=a%40b.test&pass=" + password +
                                      "&next=fbdialog%3A%2F%2Fsuccess&api_key=k");
    return res && res->status == 302
               ? FBLoginDialog::authToken(res->get_header_value("Location")).value_or("")
               : "";
  }

  testing_support::TempDir dir;
  ServiceSandbox sandbox;
  std::vector<std::string> seen;
};

TEST_F(FacebookSandboxTest, LogInGetASessionAndUploadAPicture) {
  EXPECT_EQ(logIn("wrong"), "");
  std::string token = logIn("right");
  ASSERT_FALSE(token.empty());

  FBHosts hosts;
  hosts.api = sandbox.baseUrl() + "/SHKFacebook/api";
  auto session = FBSession::create("k", std::string(), std::nullopt, hosts);
  auto forged = FBSession::create("k", std::string("not the secret"), std::nullopt, hosts);
  auto picture = graphics::Image::filled({4, 4}, graphics::Color::white());
  const std::string caption = "Hồ Gươm & <co>";
  std::string key, secret;
  const struct {
    std::shared_ptr<FBSession> session;
    const char* method;
    FBRequest::Params params;
    FBDataParam data;
    std::string answer;  // its start
  } calls[] = {
      {forged, "facebook.auth.getSession", {{"auth_token", token}}, {}, "error 104"},
      {session, "facebook.auth.getSession", {{"auth_token", token}}, {}, "ok session_key=sandbox-"},
      {session, "facebook.auth.getSession", {{"auth_token", token}}, {}, "error 100"},    // used up
      {session, "facebook.photos.upload", {{"caption", caption}}, picture, "error 102"},  // none
      {nullptr, "", {}, {}, ""},  // the session begins
      {session, "facebook.photos.upload", {{"caption", caption}}, picture, "ok pid="},
      {session, "facebook.photos.upload", {{"caption", "no picture"}}, {}, "error 324"},
  };
  for (const auto& c : calls) {
    if (!c.session) {
      session->begin(1, key, secret, std::nullopt);
      continue;
    }
    const size_t before = seen.size();
    FBRequest::requestWithSession(c.session, this)->call(c.method, c.params, c.data);
    ASSERT_TRUE(base::RunLoop::main().runUntilCondition([&] { return seen.size() > before; }, 20));
    EXPECT_TRUE(seen.back().starts_with(std::string(c.method) + " " + c.answer)) << seen.back();
    if (seen.back().starts_with("facebook.auth.getSession ok")) {
      key = seen.back().substr(seen.back().find("session_key=") + 12);
      secret = key.substr(key.find(" secret=") + 8);
      key = key.substr(0, key.find(' '));
    }
  }
  EXPECT_TRUE(seen[4].ends_with("caption=" + caption)) << seen[4];

  // The publishing page takes the panel's multipart body (no closing delimiter); the permission
  // page's refusal leads to the cancel address.
  auto feed = post("/connect/prompt_feed.php?display=touch",
                   "--B\r\nContent-Disposition: form-data; name=\"session_key\"\r\n\r\n" + key +
                       "\r\n--B\r\nContent-Disposition: form-data; name=\"attachment\"\r\n\r\n"
                       "{\"name\":\"<b>\"}\r\n--B\r\nContent-Disposition: form-data; "
                       "name=\"cancel\"\r\n\r\nfbdialog:cancel\r\n--B\r\n",
                   "multipart/form-data; boundary=B");
  ASSERT_TRUE(feed);
  EXPECT_NE(feed->body.find("{&quot;name&quot;:&quot;&lt;b&gt;&quot;}"), std::string::npos);
  EXPECT_NE(feed->body.find("href=\"fbdialog:cancel\""), std::string::npos);
  EXPECT_NE(feed->body.find("feedform_user_message"), std::string::npos);
  EXPECT_NE(post("/connect/prompt_feed.php", "session_key=x")->body.find("Invalid session"),
            std::string::npos);
  auto permission = httplib::Client("127.0.0.1", sandbox.port())
                        .Get(
                            "/SHKFacebook/web/connect/prompt_permission.php?ext_perm=photo_upload"
                            "&next=fbdialog%3Asuccess&cancel=fbdialog%3Acancel");
  EXPECT_NE(permission->body.find("<a id=\"deny\" href=\"fbdialog:cancel\">"), std::string::npos);
}

}  // namespace
