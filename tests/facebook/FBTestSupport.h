#pragma once
// Shared by the Facebook client's tests: answer values as compact text, a recorder of what the
// client reports, and a REST server that records each call.
#include <functional>
#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "facebook/FBDialogDelegate.h"
#include "facebook/FBRequest.h"
#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSessionDelegate.h"
#include "platform/base/RunLoop.h"
#include "tests/support/LoopbackServer.h"

namespace testing_support {

// null, "text", [a,b], {key:value} (keys sorted).
inline std::string render(const FBValue& value) {
  if (value.isNull()) return "null";
  if (const std::string* text = value.string()) return "\"" + *text + "\"";
  std::string out;
  if (const FBValue::Array* array = value.array()) {
    for (const FBValue& entry : *array) out += "," + render(entry);
  } else {
    for (const auto& [key, member] : *value.dictionary()) out += "," + key + ":" + render(member);
  }
  out = out.empty() ? out : out.substr(1);
  return value.array() ? "[" + out + "]" : "{" + out + "}";
}

// One line per report. A request's reports start with its user info (a string): "<name> loading
// @<time>", "<name> load <value>", "<name> fail <domain> <code> <text>[ <request args>]",
// "<name> cancelled".
class Recorder : public FBSessionDelegate, public FBDialogDelegate, public FBRequestDelegate {
 public:
  std::vector<std::string> events;
  int finished = 0;  // reports that end a request
  bool openExternally = true;

  void sessionDidLogin(FBSession&, FBUid uid) override { add("login " + std::to_string(uid)); }
  void sessionDidNotLogin(FBSession&) override { add("not logged in"); }
  void sessionWillLogout(FBSession&, FBUid u) override { add("will logout " + std::to_string(u)); }
  void sessionDidLogout(FBSession&) override { add("logged out"); }
  void dialogDidSucceed(FBDialog&) override { add("succeeded"); }
  void dialogDidCancel(FBDialog&) override { add("cancelled"); }
  void dialogDidFailWithError(FBDialog&, const net::Error& e) override {
    add("failed " + std::to_string(e.code()));
  }
  bool dialogShouldOpenURLInExternalBrowser(FBDialog&, const std::string&) override {
    return openExternally;
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

// Answers every GET and POST with the text `answer` gives (on the server's thread), then
// records the call: what calls() shows has been answered. The multipart body is read as it comes:
// cpp-httplib's own reader wants a closing boundary and a name on every part, so the server never
// sees the content type.
class RestServer {
 public:
  explicit RestServer(std::function<std::string(const RestCall&)> answer)
      : answer_(std::move(answer)) {
    auto& s = server_.server();
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
      res.set_content(answer_(call), "text/xml");
      std::lock_guard lock(mutex_);
      calls_.push_back(call);
    };
    s.Post(".*", handle);
    s.Get(".*", handle);
    server_.start();
  }
  void stop() { server_.stop(); }
  std::string url(const std::string& path = "") const { return server_.url(path); }
  std::vector<RestCall> calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  std::function<std::string(const RestCall&)> answer_;
  std::mutex mutex_;
  std::vector<RestCall> calls_;
  LoopbackServer server_;  // last: stops before the members its handler uses go
};

}  // namespace testing_support
