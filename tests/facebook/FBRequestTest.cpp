#include "facebook/FBRequest.h"

#include <gtest/gtest.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSession.h"
#include "platform/base/RunLoop.h"
#include "platform/crypto/Md5.h"
#include "platform/net/UrlLoader.h"
#include "tests/facebook/FBTestSupport.h"
#include "tests/platform/net/TransferTestSupport.h"

namespace {

using testing_support::render;
using testing_support::RestCall;

const std::string kBoundary = FBRequest::kBoundary;
const char* const kApiSecret = "apisecret";
const char* const kSessionSecret = "sessionsecret";

// Parameter names without "sig", in case-insensitive order (ties in byte order) or, for the
// negative control, in byte order.
std::vector<std::string> names(const std::map<std::string, std::string>& params, bool ignoreCase) {
  std::vector<std::string> out;
  for (const auto& [name, value] : params)
    if (name != "sig") out.push_back(name);
  if (ignoreCase) {
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
      return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
  }
  return out;
}

// Whether the call carries the signature the REST server computes with its secret.
bool signedRight(const RestCall& call, bool ignoreCase = true) {
  const auto& params = call.params;
  const bool special = params.count("method") && params.at("method") == "facebook.auth.getSession";
  std::string text;
  for (const auto& name : names(params, ignoreCase)) text += name + "=" + params.at(name);
  text += !special && params.count("ss") && params.at("ss") == "1" ? kSessionSecret : kApiSecret;
  return params.count("sig") && crypto::Md5::hexDigest(text) == params.at("sig");
}

// Path, parameter names in signature order, uploaded files.
std::string summary(const RestCall& call) {
  std::string out = call.path;
  for (const auto& name : names(call.params, true)) out += (out == call.path ? " " : ",") + name;
  for (const auto& f : call.files) out += " " + f.filename + ":" + f.type;
  return out;
}

std::string errorAnswer(const std::string& code, const std::string& message) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<error_response><error_code>" + code +
         "</error_code><error_msg>" + message +
         "</error_msg><request_args list=\"true\"><arg><key>method</key><value>m</value></arg>"
         "<arg><key>v</key><value>1.0</value></arg></request_args></error_response>";
}

// Records what a request reports: "loading @t", "load <value>", "fail <domain> <code> <text>",
// "cancelled", each prefixed with the request's user info.
class Recorder : public FBRequestDelegate {
 public:
  std::vector<std::string> events;
  int finished = 0;  // reports that end a request

  void requestLoading(FBRequest& r) override {
    add(r, "loading @" + std::to_string(int(base::RunLoop::main().now())));
  }
  void requestDidLoad(FBRequest& r, const FBValue& result) override {
    add(r, "load " + render(result));
  }
  void requestDidFailWithError(FBRequest& r, const FBError& e) override {
    add(r, "fail " + e.domain + " " + std::to_string(e.code) + " " + e.description +
               (e.requestArgs.isNull() ? "" : " " + render(e.requestArgs)));
  }
  void requestWasCancelled(FBRequest& r) override { add(r, "cancelled"); }
  // The events of one request.
  std::vector<std::string> of(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.starts_with(name + " ")) out.push_back(e.substr(name.size() + 1));
    return out;
  }

 private:
  void add(FBRequest& r, const std::string& event) {
    const auto* name = std::any_cast<std::string>(&r.userInfo());
    events.push_back((name ? *name : "?") + " " + event);
    finished += !event.starts_with("loading");
  }
};

// The REST server answers by method; a call with a wrong signature is refused.
std::string answer(const RestCall& call, testing_support::ResponseGate& gate) {
  if (call.path == "/proxy") {
    return "<auth_getSession_response><uid>9007199254740993</uid><session_key>k</session_key>"
           "<expires>0</expires></auth_getSession_response>";
  }
  const std::string method = call.params.count("method") ? call.params.at("method") : "";
  if (method == "test.slow") gate.wait();
  if (!signedRight(call)) return errorAnswer("104", "Incorrect signature");
  if (method == "test.error") return errorAnswer("102", "Session key invalid or no longer valid");
  if (method == "test.badxml") return "<r><open></r>";
  if (method == "test.huge")  // more than a loader takes
    return "<r>" + std::string(net::UrlLoader::kDefaultMaxBodyBytes, 'x') + "</r>";
  if (method == "friends.get") {
    return "<friends_get_response list=\"true\"><uid>1</uid><uid>9007199254740993</uid>"
           "</friends_get_response>";
  }
  return "<r><method>" + method + "</method></r>";
}

class FBRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FBHosts hosts;
    hosts.api = server.url();
    hosts.video = server.url("/video");
    session = FBSession::create("apikey", kApiSecret, std::nullopt, hosts);
    session->begin(9007199254740993, "sessionkey", kSessionSecret, std::nullopt);
    // Calls are paced in seconds: the virtual clock skips the waits.
    base::RunLoop::main().setVirtualClock(true);
  }
  void TearDown() override {
    gate.open();
    server.stop();
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(false);
  }

  std::shared_ptr<FBRequest> makeRequest(const std::string& name) {
    auto request = FBRequest::requestWithSession(session, &recorder);
    request->setUserInfo(name);
    return request;
  }
  void waitForReports(int count) {
    ASSERT_TRUE(
        base::RunLoop::main().runUntilCondition([&] { return recorder.finished >= count; }, 30));
  }

  testing_support::ResponseGate gate;
  testing_support::RestServer server{[this](const RestCall& call) { return answer(call, gate); }};
  std::shared_ptr<FBSession> session;
  Recorder recorder;
};

struct CallCase {
  const char* name;
  std::string method;
  FBRequest::Params params;
  FBDataParam data;
  const char* summary;
};

TEST_F(FBRequestTest, CallsAreSignedMultipartPosts) {
  const CallCase cases[] = {
      {"user call",
       "users.getInfo",
       {{"uids", "1"}, {"fields", "name"}},
       {},
       "/restserver.php api_key,call_id,fields,format,method,session_key,ss,uids,v"},
      {"session exchange",
       "facebook.auth.getSession",
       {{"auth_token", "t"}},
       {},
       "/restserver.php api_key,auth_token,format,method,v"},
      {"names differing in case",
       "test.order",
       {{"Zebra", "1"}, {"apple", "2"}, {"b", "3"}, {"B", "4"}},
       {},
       "/restserver.php api_key,apple,B,b,call_id,format,method,session_key,ss,v,Zebra"},
      {"picture",
       "photos.upload",
       {{"caption", "Ảnh đẹp"}},
       graphics::Image::filled({2, 2}, graphics::Color(1, 0, 0, 1)),
       "/restserver.php api_key,call_id,caption,format,method,session_key,ss,v "
       "photo:image/png"},
      {"video bytes",
       "facebook.video.upload",
       {{"title", "t"}},
       std::string("raw\r\nbytes\0", 11),
       "/video/restserver.php api_key,call_id,format,method,session_key,ss,title,v "
       "data:content/unknown"},
  };
  int sent = 0;
  for (const CallCase& c : cases) {
    makeRequest(c.name)->call(c.method, c.params, c.data);
    waitForReports(++sent);
    EXPECT_EQ(recorder.of(c.name).back(), "load {method:\"" + c.method + "\"}") << c.name;
  }
  auto now = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch());
  std::vector<RestCall> all = server.calls();
  ASSERT_EQ(all.size(), std::size(cases));
  for (size_t i = 0; i < all.size(); ++i) {
    const RestCall& call = all[i];
    const CallCase& c = cases[i];
    EXPECT_EQ(summary(call), c.summary) << c.name;
    EXPECT_TRUE(signedRight(call)) << c.name;
    EXPECT_EQ(call.httpMethod, "POST");
    EXPECT_EQ(call.userAgent, "FacebookClient");
    EXPECT_EQ(call.contentType, "multipart/form-data; boundary=" + kBoundary);
    // No closing boundary: the body ends with an opening one.
    EXPECT_TRUE(call.body.ends_with("\r\n--" + kBoundary + "\r\n")) << c.name;
    EXPECT_EQ(call.body.find("--" + kBoundary + "--"), std::string::npos) << c.name;
    FBRequest::Params sent = c.params;
    sent.insert({{"api_key", "apikey"}, {"v", "1.0"}, {"format", "XML"}});
    for (const auto& [name, value] : sent) EXPECT_EQ(call.params.at(name), value) << c.name;
    if (call.params.count("call_id")) {
      EXPECT_NEAR(std::stod(call.params.at("call_id")), now.count(), 60) << c.name;
      EXPECT_EQ(call.params.at("call_id").find('.'), std::string::npos);
      EXPECT_EQ(call.params.at("session_key"), "sessionkey");
      EXPECT_EQ(call.params.at("ss"), "1");
    }
  }
  // The case-insensitive order is what the server checks, not byte order.
  EXPECT_FALSE(signedRight(all[2], false));
  ASSERT_EQ(all[3].files.size(), 1u);
  EXPECT_TRUE(all[3].files[0].value.starts_with("\x89PNG"));
  ASSERT_EQ(all[4].files.size(), 1u);
  EXPECT_EQ(all[4].files[0].value, std::string("raw\r\nbytes\0", 11));
}

TEST_F(FBRequestTest, AnswersAndFailuresReachTheDelegate) {
  const std::string args = R"([{key:"method",value:"m"},{key:"v",value:"1.0"}])";
  const std::pair<std::string, std::string> cases[] = {
      {"friends.get", R"(load [{uid:"1"},{uid:"9007199254740993"}])"},
      {"test.error", "fail 127.0.0.1 102 Session key invalid or no longer valid " + args},
      {"test.badxml", "fail xml 7 line 1, column 12: mismatched tag"},
      {"test.huge", "fail net -1103 The response is larger than 16777216 bytes"},
  };
  int sent = 0;
  for (const auto& [method, report] : cases) {
    makeRequest(method)->call(method, {});
    waitForReports(++sent);
    EXPECT_EQ(recorder.of(method).back(), report);
  }
  // A wrong secret is caught by the server's signature check.
  auto wrong = FBSession::create("apikey", "wrong", std::nullopt, session->hosts());
  auto request = FBRequest::requestWithSession(wrong, &recorder);
  request->setUserInfo(std::string("wrong secret"));
  request->call("facebook.auth.getSession", {{"auth_token", "t"}});
  waitForReports(++sent);
  EXPECT_TRUE(recorder.of("wrong secret").back().starts_with("fail 127.0.0.1 104 Incorrect"));

  request = makeRequest("refused");
  request->post("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/", {});
  waitForReports(++sent);
  EXPECT_TRUE(recorder.of("refused").back().starts_with("fail net -1004"));
}

TEST_F(FBRequestTest, FourthCallWithinTwoSecondsWaitsForTheTimerInOrder) {
  auto& loop = base::RunLoop::main();
  auto send = [this](int n) {
    makeRequest(std::to_string(n))->call("test.pace", {{"n", std::to_string(n)}});
  };
  for (int n = 1; n <= 5; ++n) send(n);
  EXPECT_EQ(session->queuedRequestCount(), 2u);
  loop.performAfter(1.0, [&] { send(6), send(7); });
  waitForReports(7);
  std::vector<std::string> loading;
  for (const auto& e : recorder.events)
    if (e.find("loading") != std::string::npos) loading.push_back(e);
  EXPECT_EQ(loading, (std::vector<std::string>{"1 loading @0", "2 loading @0", "3 loading @0",
                                               "4 loading @2", "5 loading @2", "6 loading @2",
                                               "7 loading @4"}));
  EXPECT_EQ(server.calls().size(), 7u);
  for (const RestCall& call : server.calls()) EXPECT_TRUE(signedRight(call));
}

TEST_F(FBRequestTest, CancelStopsALoadingOrAWaitingCall) {
  std::vector<std::shared_ptr<FBRequest>> requests;
  for (int n = 1; n <= 4; ++n) {
    requests.push_back(makeRequest(std::to_string(n)));
    requests.back()->call(n == 1 ? "test.slow" : "test.fast", {{"n", std::to_string(n)}});
  }
  ASSERT_TRUE(requests[0]->loading());
  ASSERT_FALSE(requests[3]->loading());
  requests[0]->cancel();
  requests[3]->cancel();
  EXPECT_EQ(session->queuedRequestCount(), 0u);
  gate.open();
  waitForReports(4);
  base::RunLoop::main().runFor(5);
  EXPECT_EQ(recorder.of("1"), (std::vector<std::string>{"loading @0", "cancelled"}));
  EXPECT_EQ(recorder.of("2").back(), "load {method:\"test.fast\"}");
  EXPECT_EQ(recorder.of("4"), std::vector<std::string>{"cancelled"});
  // The cancelled first call may or may not have reached the server; the fourth never does.
  std::vector<std::string> reached;
  for (const RestCall& call : server.calls())
    if (call.params.at("n") != "1") reached.push_back(call.params.at("n"));
  std::sort(reached.begin(), reached.end());
  EXPECT_EQ(reached, (std::vector<std::string>{"2", "3"}));
}

TEST_F(FBRequestTest, ProxyGetCarriesItsParametersEscaped) {
  auto request = makeRequest("proxy");
  request->post(server.url("/proxy?app=1"),
                {{"auth_token", "a b&c=d/é+%"}, {"generate_session_secret", "1"}});
  waitForReports(1);
  EXPECT_EQ(recorder.of("proxy").back(),
            R"(load {expires:"0",session_key:"k",uid:"9007199254740993"})");
  std::vector<RestCall> all = server.calls();
  ASSERT_EQ(all.size(), 1u);
  const RestCall& call = all[0];
  EXPECT_EQ(call.httpMethod, "GET");
  EXPECT_EQ(call.userAgent, "FacebookClient");
  EXPECT_EQ(call.params,
            (std::map<std::string, std::string>{
                {"app", "1"}, {"auth_token", "a b&c=d/é+%"}, {"generate_session_secret", "1"}}));
}

}  // namespace
