#include "facebook/FBRequest.h"

#include <gtest/gtest.h>
#include <strings.h>

#include <algorithm>
#include <chrono>

#include "platform/crypto/Md5.h"
#include "tests/facebook/FBTestSupport.h"
#include "tests/support/ClosedPort.h"

namespace {

using testing_support::RestCall;
using Events = std::vector<std::string>;

const std::string kBoundary = FBRequest::kBoundary;

// Whether the call carries the signature the REST server computes: every field but "sig" in
// case-insensitive order of names (ties in byte order), then the API's secret when logging in,
// else the session's.
bool signedRight(RestCall call) {
  std::vector<std::pair<std::string, std::string>> fields(call.params.begin(), call.params.end());
  std::erase_if(fields, [](const auto& field) { return field.first == "sig"; });
  std::stable_sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
    return strcasecmp(a.first.c_str(), b.first.c_str()) < 0;
  });
  std::string text;
  for (const auto& [name, value] : fields) text += name + "=" + value;
  const bool logIn = call.params["method"] == "facebook.auth.getSession";
  return crypto::Md5::hexDigest(text + (logIn ? "secret" : "sessionsecret")) == call.params["sig"];
}

using FBRequestTest = testing_support::FBTest;

TEST_F(FBRequestTest, CallsAreSignedMultipartPosts) {
  session->begin(9007199254740993, "sessionkey", "sessionsecret", std::nullopt);
  const std::string bytes("raw\r\nbytes\0", 11);
  // Method, parameters, data, the file part sent.
  using Case = std::tuple<std::string, FBRequest::Params, FBDataParam, std::string>;
  const Case cases[] = {
      {"facebook.auth.getSession", {{"auth_token", "t"}}, {}, ""},
      {"test.order", {{"Zebra", "1"}, {"apple", "2"}, {"b", "3"}, {"B", "4"}}, {}, ""},
      {"facebook.photos.upload",
       {{"caption", "Ảnh đẹp"}},
       bytes,
       "filename=\"data\"\r\nContent-Type: content/unknown\r\n\r\n" + bytes},
  };
  for (const auto& [method, params, data, file] : cases) call(method, params, data);
  const auto now = std::chrono::system_clock::now().time_since_epoch() / std::chrono::seconds(1);
  const std::vector<RestCall> made = calls();
  ASSERT_EQ(made.size(), std::size(cases));
  for (size_t i = 0; i < made.size(); ++i) {
    const auto& [method, params, data, file] = cases[i];
    RestCall call = made[i];
    SCOPED_TRACE(method);
    EXPECT_EQ(call.head,
              "POST /restserver.php FacebookClient multipart/form-data; boundary=" + kBoundary);
    EXPECT_TRUE(signedRight(call));
    const size_t filePart =
        call.body.find(file.empty() ? "filename=" : file + "\r\n--" + kBoundary);
    EXPECT_EQ(filePart != std::string::npos, !file.empty());
    FBRequest::Params fields = params;
    fields.insert({{"method", method}, {"api_key", "apikey"}, {"v", "1.0"}, {"format", "XML"}});
    if (method != "facebook.auth.getSession") {  // a session call, numbered by the time
      const std::string& id = call.params["call_id"];
      EXPECT_NEAR(std::stoll(id), now, 60);
      EXPECT_EQ(id, std::to_string(std::stoll(id)));
      fields.insert({{"session_key", "sessionkey"}, {"ss", "1"}, {"call_id", id}});
    }
    call.params.erase("sig");
    EXPECT_EQ(call.params, fields);
  }
}

TEST_F(FBRequestTest, AnswersAndFailuresReachTheDelegate) {
  for (const char* method : {"test.error", "test.badxml"}) call(method);
  makeRequest("refused")->post(
      "http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/", {});
  waitForReports(3);
  EXPECT_EQ(recorder.of("test.error").back(),
            R"(fail 127.0.0.1 102 Session key invalid [{key:"v",value:"1.0"}])");
  EXPECT_EQ(recorder.of("test.badxml").back(), "fail xml 7 line 1, column 12: mismatched tag");
  EXPECT_TRUE(recorder.of("refused").back().starts_with("fail net -1004"));
}

// Three calls start within two seconds, later ones wait in order for the timer. A cancelled call,
// loading or waiting, is heard as cancelled, and a waiting one never reaches the server.
TEST_F(FBRequestTest, CallsArePacedAndCanBeCancelled) {
  std::vector<std::shared_ptr<FBRequest>> requests;
  auto send = [&](int n) {
    requests.push_back(makeRequest(std::to_string(n)));
    requests.back()->call("test.pace", {{"n", std::to_string(n)}});
  };
  for (int n = 1; n <= 5; ++n) send(n);
  EXPECT_EQ(session->queuedRequestCount(), 2u);
  requests[0]->cancel();
  requests[4]->cancel();
  base::RunLoop::main().performAfter(1.0, [&] { send(6), send(7), send(8); });
  waitForReports(8);
  base::RunLoop::main().runFor(5);
  Events loading;
  for (const auto& e : recorder.events)
    if (e.find("loading") != std::string::npos) loading.push_back(e);
  EXPECT_EQ(loading, (Events{"1 loading @0", "2 loading @0", "3 loading @0", "4 loading @2",
                             "6 loading @2", "7 loading @2", "8 loading @4"}));
  EXPECT_EQ(recorder.of("1"), (Events{"loading @0", "cancelled"}));
  EXPECT_EQ(recorder.of("5"), Events{"cancelled"});
  for (const RestCall& call : calls()) EXPECT_NE(call.params.at("n"), "5");
}

TEST_F(FBRequestTest, ProxyGetCarriesItsParametersEscaped) {
  FBRequest::Params params = {{"auth_token", "a b&c=d/é+%"}, {"generate_session_secret", "1"}};
  makeRequest("proxy")->post(server.url("/proxy?app=1"), params);
  waitForReports(1);
  EXPECT_EQ(recorder.of("proxy").back(), "load {method:null}");
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].head, "GET /proxy FacebookClient ");
  params["app"] = "1";
  EXPECT_EQ(calls()[0].params, params);
}

}  // namespace
