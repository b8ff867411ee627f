#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/sandbox/ServiceSandbox.h"
#include "facebook/FBLoginDialog.h"
#include "facebook/FBRequest.h"
#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSession.h"
#include "platform/base/RunLoop.h"
#include "platform/graphics/Image.h"
#include "tests/support/TempDir.h"

namespace {

class Answers : public FBRequestDelegate {
 public:
  std::vector<std::string> seen;
  void requestDidLoad(FBRequest& r, const FBValue& v) override {
    std::string text = *r.method() + " ok";
    for (const char* key : {"session_key", "secret", "pid", "caption"}) {
      if (const std::string* s = v.member(key).string()) text += std::string(" ") + key + "=" + *s;
    }
    seen.push_back(text);
  }
  void requestDidFailWithError(FBRequest& r, const FBError& e) override {
    seen.push_back(*r.method() + " error " + std::to_string(e.code));
  }
};

// The sandbox's Facebook: log-in page, REST server and publishing pages, driven as the program
// drives them.
class FacebookSandboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sandbox.start());
    client = std::make_unique<httplib::Client>("127.0.0.1", sandbox.port());
    hosts.api = sandbox.baseUrl() + "/SHKFacebook/api";
    hosts.web = sandbox.baseUrl() + "/SHKFacebook/web";
  }
  void TearDown() override { base::RunLoop::main().reset(); }

  // Logs in on the page; the auth token from the redirect, or "" when there was none.
  std::string logIn(const std::string& password) {
    auto res = client->Post(
        "/SHKFacebook/web/login.php",
        "email=a%40b.test&pass=" + password + "&next=fbdialog%3A%2F%2Fsuccess&api_key=k",
        "application/x-www-form-urlencoded");
    if (!res || res->status != 302) return "";
    return FBLoginDialog::authToken(res->get_header_value("Location")).value_or("");
  }
  void call(const std::shared_ptr<FBSession>& session, const std::string& method,
            FBRequest::Params params, FBDataParam data = {}) {
    size_t before = answers.seen.size();
    FBRequest::requestWithSession(session, &answers)->call(method, params, data);
    ASSERT_TRUE(
        base::RunLoop::main().runUntilCondition([&] { return answers.seen.size() > before; }, 20));
  }

  testing_support::TempDir dir;
  ServiceSandbox sandbox;
  std::unique_ptr<httplib::Client> client;
  FBHosts hosts;
  Answers answers;
};

TEST_F(FacebookSandboxTest, LogInGetASessionAndUploadAPicture) {
  auto page = client->Get("/SHKFacebook/web/login.php?fbdialog=1&next=fbdialog%3A%2F%2Fsuccess");
  ASSERT_TRUE(page);
  EXPECT_NE(page->body.find("name=\"next\" value=\"fbdialog://success\""), std::string::npos);
  EXPECT_EQ(logIn("wrong"), "");
  std::string token = logIn("right");
  ASSERT_FALSE(token.empty());

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
      {session, "facebook.auth.getSession", {{"auth_token", "unknown"}}, {}, "error 100"},
      {session, "facebook.auth.getSession", {{"auth_token", token}}, {}, "ok session_key=sandbox-"},
      {session, "facebook.auth.getSession", {{"auth_token", token}}, {}, "error 100"},  // used up
      {session,
       "facebook.photos.upload",
       {{"caption", caption}},
       picture,
       "error 102"},              // no session
      {nullptr, "", {}, {}, ""},  // the session begins
      {session, "facebook.photos.upload", {{"caption", caption}}, picture, "ok pid="},
      {session, "facebook.photos.upload", {{"caption", "no picture"}}, {}, "error 324"},
      {session, "facebook.stream.get", {}, {}, "error 3"},
  };
  for (const auto& c : calls) {
    if (!c.session) {
      session->begin(1, key, secret, std::nullopt);
      continue;
    }
    ASSERT_NO_FATAL_FAILURE(call(c.session, c.method, c.params, c.data));
    const std::string& seen = answers.seen.back();
    EXPECT_TRUE(seen.starts_with(std::string(c.method) + " " + c.answer)) << seen;
    if (seen.starts_with("facebook.auth.getSession ok")) {
      key = seen.substr(seen.find("session_key=") + 12);
      secret = key.substr(key.find(" secret=") + 8);
      key = key.substr(0, key.find(' '));
    }
  }
  EXPECT_TRUE(answers.seen[5].ends_with("caption=" + caption)) << answers.seen[5];

  // The publishing page takes the panel's multipart body (no closing delimiter) and publishes
  // to the callback.
  std::string body = "--B\r\nContent-Disposition: form-data; name=\"session_key\"\r\n\r\n" + key +
                     "\r\n--B\r\nContent-Disposition: form-data; name=\"attachment\"\r\n\r\n"
                     "{\"name\":\"<b>\"}\r\n--B\r\nContent-Disposition: form-data; "
                     "name=\"cancel\"\r\n\r\nfbdialog:cancel\r\n--B\r\n";
  auto feed = client->Post("/SHKFacebook/web/connect/prompt_feed.php?display=touch", body,
                           "multipart/form-data; boundary=B");
  ASSERT_TRUE(feed);
  EXPECT_NE(feed->body.find("{&quot;name&quot;:&quot;&lt;b&gt;&quot;}"), std::string::npos);
  EXPECT_NE(feed->body.find("href=\"fbdialog:cancel\""), std::string::npos);
  EXPECT_NE(feed->body.find("feedform_user_message"), std::string::npos);
  auto stranger = client->Post("/SHKFacebook/web/connect/prompt_feed.php", "session_key=x",
                               "application/x-www-form-urlencoded");
  EXPECT_NE(stranger->body.find("Invalid session"), std::string::npos);
  auto published = client->Post("/SHKFacebook/web/connect/publish.php",
                                "feedform_user_message=hi&callback=fbdialog%3Asuccess",
                                "application/x-www-form-urlencoded");
  ASSERT_TRUE(published);
  EXPECT_EQ(published->status, 302);
  EXPECT_EQ(published->get_header_value("Location"), "fbdialog:success");

  auto permission = client->Get(
      "/SHKFacebook/web/connect/prompt_permission.php?ext_perm=photo_upload&next=fbdialog%3Asuccess"
      "&cancel=fbdialog%3Acancel");
  ASSERT_TRUE(permission);
  EXPECT_NE(permission->body.find("<a id=\"allow\" href=\"fbdialog:success\">"), std::string::npos);
  EXPECT_NE(permission->body.find("<a id=\"deny\" href=\"fbdialog:cancel\">"), std::string::npos);
}

}  // namespace
