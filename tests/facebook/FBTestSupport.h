#pragma once
// Shared by the Facebook client's tests: answer values as compact text, a recorder of what the
// client reports, and a session on a REST server that records each call.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "facebook/FBDialogDelegate.h"
#include "facebook/FBRequest.h"
#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSession.h"
#include "facebook/FBSessionDelegate.h"
#include "platform/base/RunLoop.h"
#include "platform/net/CookieStore.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace testing_support {

// null, "text", [a,b], {key:value} (keys sorted).
inline std::string render(const FBValue& value) {
  if (value.isNull()) return "null";
  if (const std::string* text = value.string()) return "\"" + *text + "\"";
  std::string out;
  if (const FBValue::Array* array = value.array())
    for (const FBValue& entry : *array) out += "," + render(entry);
  else
    for (const auto& [key, member] : *value.dictionary()) out += "," + key + ":" + render(member);
  return (value.array() ? "[" : "{") + out.substr(out.empty() ? 0 : 1) +
         (value.array() ? "]" : "}");
}

// One line per report. A request's reports start with its user info (a string): "<name> loading
// @<time>", "<name> load <value>", "<name> fail <domain> <code> <text>[ <request args>]",
// "<name> cancelled".
class Recorder : public FBSessionDelegate, public FBDialogDelegate, public FBRequestDelegate {
 public:
  std::vector<std::string> events;
  int finished = 0;  // reports that end a request

  void sessionDidLogin(FBSession&, FBUid uid) override { add("login " + std::to_string(uid)); }
  void sessionDidNotLogin(FBSession&) override { add("not logged in"); }
  void sessionWillLogout(FBSession&, FBUid u) override { add("will logout " + std::to_string(u)); }
  void sessionDidLogout(FBSession&) override { add("logged out"); }
  void dialogDidSucceed(FBDialog&) override { add("succeeded"); }
  void dialogDidCancel(FBDialog&) override { add("cancelled"); }
  void dialogDidFailWithError(FBDialog&, const net::Error& e) override {
    add("failed " + std::to_string(e.code()));
  }
  void requestLoading(FBRequest& r) override {
    add(r, "loading @" + std::to_string(int(base::RunLoop::main().now())));
  }
  void requestDidLoad(FBRequest& r, const FBValue& v) override { add(r, "load " + render(v)); }
  void requestDidFailWithError(FBRequest& r, const FBError& e) override {
    add(r, "fail " + e.domain + " " + std::to_string(e.code) + " " + e.description +
               (e.requestArgs.isNull() ? "" : " " + render(e.requestArgs)));
  }
  void requestWasCancelled(FBRequest& r) override { add(r, "cancelled"); }
  // The reports of the request named `name`, without the name.
  std::vector<std::string> of(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.starts_with(name + " ")) out.push_back(e.substr(name.size() + 1));
    return out;
  }

 private:
  void add(const std::string& event) { events.push_back(event); }
  void add(FBRequest& r, const std::string& event) {
    add(std::any_cast<std::string>(r.userInfo()) + " " + event);
    finished += !event.starts_with("loading");
  }
};

// One call as the server saw it: "METHOD PATH USER-AGENT CONTENT-TYPE", the raw body, and the
// query's and the multipart body's fields (files aside).
struct RestCall {
  std::string head, body;
  std::map<std::string, std::string> params;
};

// The fields of a multipart body, which need not end with a closing boundary.
inline std::map<std::string, std::string> multipartFields(const std::string& body) {
  const std::regex field("; name=\"([^\"]*)\"\r\n\r\n([\\s\\S]*?)\r\n--" +
                         std::string(FBRequest::kBoundary));
  std::map<std::string, std::string> fields;
  for (std::sregex_iterator it(body.begin(), body.end(), field), end; it != end; ++it)
    fields[(*it)[1]] = (*it)[2];
  return fields;
}

// A session ("apikey", secret "secret") on a REST server, its web pages on www.facebook.test, a
// shown window and the virtual clock (which stands still while a call is on the socket). The
// server answers facebook.auth.getSession with `getSessionAnswer`, fails test.error and
// test.badxml, and otherwise echoes the method; calls() are those answered so far. It reads the
// multipart body itself: cpp-httplib's reader wants a closing boundary and a name on every part,
// so the content type is moved aside before it looks.
class FBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(true);
    ui::Application::shared().reset();
    net::CookieStore::shared().removeAll();
    ui::Application::shared().setOpenURLHandler(
        [this](const std::string& url) { return recorder.events.push_back("open " + url), true; });
    auto& s = server.server();
    s.set_keep_alive_max_count(1);
    s.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
      auto& headers = const_cast<httplib::Request&>(req).headers;
      headers.emplace("X-Sent-Content-Type", req.get_header_value("Content-Type"));
      headers.erase("Content-Type");
      return httplib::Server::HandlerResponse::Unhandled;
    });
    auto handle = [this](const httplib::Request& req, httplib::Response& res) {
      RestCall call{req.method + " " + req.path + " " + req.get_header_value("User-Agent") + " " +
                        req.get_header_value("X-Sent-Content-Type"),
                    req.body, multipartFields(req.body)};
      call.params.insert(req.params.begin(), req.params.end());
      res.set_content(answer(call), "text/xml");
      std::lock_guard lock(mutex);
      answered.push_back(call);
    };
    s.Post(".*", handle);
    s.Get(".*", handle);
    server.start();
    session = FBSession::create(
        "apikey", std::string("secret"), std::nullopt,
        {server.url(), server.url("/video"), "https://www.facebook.test", "facebook.test"});
    session->addDelegate(&recorder);
    window = std::make_unique<ui::Window>();
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    window.reset();
    base::RunLoop::main().runFor(0.6);
    server.stop();
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(false);
    ui::Application::shared().reset();
  }

  std::string answer(const RestCall& call) {
    const std::string method = call.params.count("method") ? call.params.at("method") : "";
    if (method == "facebook.auth.getSession") return getSessionAnswer;
    if (method == "test.badxml") return "<r><open></r>";
    if (method != "test.error") return "<r><method>" + method + "</method></r>";
    return "<error_response><error_code>102</error_code><error_msg>Session key invalid</error_msg>"
           "<request_args list=\"true\"><arg><key>v</key><value>1.0</value></arg></request_args>"
           "</error_response>";
  }
  std::vector<RestCall> calls() {
    std::lock_guard lock(mutex);
    return answered;
  }
  std::shared_ptr<FBRequest> makeRequest(const std::string& name) {
    auto request = FBRequest::requestWithSession(session, &recorder);
    request->setUserInfo(name);
    return request;
  }
  // Calls `method` in a request named after it and waits until every request sent has ended.
  void call(const std::string& method, const FBRequest::Params& params = {},
            FBDataParam data = {}) {
    makeRequest(method)->call(method, params, std::move(data));
    waitForReports(++sent);
  }
  void waitForReports(int count) {
    ASSERT_TRUE(
        base::RunLoop::main().runUntilCondition([&] { return recorder.finished >= count; }, 30));
  }

  TempDir dir;
  // Read on the server's thread before it records the call: changed only after calls() shows
  // the last call.
  std::string getSessionAnswer =
      "<auth_getSession_response><uid>9007199254740993</uid><session_key>sk</session_key>"
      "<secret>ss</secret><expires>0</expires></auth_getSession_response>";
  std::shared_ptr<FBSession> session;
  std::unique_ptr<ui::Window> window;
  Recorder recorder;
  int sent = 0;
  std::mutex mutex;  // guards the calls answered, which the server's threads add
  std::vector<RestCall> answered;
  LoopbackServer server;  // last: stops before the members its handler uses go
};

}  // namespace testing_support
