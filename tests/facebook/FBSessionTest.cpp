#include "facebook/FBSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/CookieStore.h"
#include "platform/store/UserDefaults.h"
#include "tests/support/TempDir.h"

namespace {

using std::chrono::hours;
using std::chrono::seconds;
using store::Plist;

constexpr FBUid kBigUid = 9007199254740993;  // 2^53 + 1: not a double
const char* const kKeys[] = {"FBUserId", "FBSessionKey", "FBSessionSecret", "FBSessionExpires"};

class Recorder : public FBSessionDelegate {
 public:
  std::vector<std::string> events;
  void sessionDidLogin(FBSession&, FBUid uid) override {
    events.push_back("login " + std::to_string(uid));
  }
  void sessionDidNotLogin(FBSession&) override { events.push_back("not logged in"); }
  void sessionWillLogout(FBSession&, FBUid uid) override {
    events.push_back("will logout " + std::to_string(uid));
  }
  void sessionDidLogout(FBSession&) override { events.push_back("logged out"); }
};

class FBSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { net::CookieStore::shared().removeAll(); }

  std::shared_ptr<FBSession> makeSession() {
    return FBSession::sessionForApplication("key", "secret", &recorder);
  }
  store::UserDefaults& defaults() { return store::UserDefaults::standard(); }
  size_t savedKeyCount() {
    size_t n = 0;
    for (const char* key : kKeys) n += defaults().objectForKey(key).has_value();
    return n;
  }

  testing_support::TempDir dir;
  Recorder recorder;
};

struct ResumeCase {
  const char* name;
  std::optional<Plist> uid, key, secret, expires;
  bool resumed;
  FBUid expectedUid;
};

TEST_F(FBSessionTest, ResumeFollowsTheSavedValues) {
  auto now = std::chrono::system_clock::now();
  auto text = Plist::string("k");
  const ResumeCase cases[] = {
      {"no expiry", Plist::integer(42), text, Plist::string("s"), {}, true, 42},
      {"future expiry", Plist::integer(42), text, {}, Plist::date(now + hours(1)), true, 42},
      {"past expiry", Plist::integer(42), text, {}, Plist::date(now - seconds(1)), false, 0},
      {"uid above 2^53", Plist::integer(kBigUid), text, {}, {}, true, kBigUid},
      {"uid as decimal text", Plist::string("9007199254740993"), text, {}, {}, true, kBigUid},
      {"no uid", {}, text, {}, {}, false, 0},
      {"zero uid", Plist::integer(0), text, {}, {}, false, 0},
      {"uid as real", Plist::real(42), text, {}, {}, false, 0},
      {"uid as other text", Plist::string("42abc"), text, {}, {}, false, 0},
      {"no session key", Plist::integer(42), {}, {}, {}, false, 0},
      {"session key as number", Plist::integer(42), Plist::integer(7), {}, {}, false, 0},
      {"expiry as text", Plist::integer(42), text, {}, Plist::string("2099-01-01"), false, 0},
      {"secret as number", Plist::integer(42), text, Plist::integer(1), {}, true, 42},
  };
  for (const ResumeCase& c : cases) {
    const std::optional<Plist>* values[] = {&c.uid, &c.key, &c.secret, &c.expires};
    for (int i = 0; i < 4; ++i) {
      if (*values[i]) {
        defaults().setObject(**values[i], kKeys[i]);
      } else {
        defaults().removeObjectForKey(kKeys[i]);
      }
    }
    recorder.events.clear();
    auto session = makeSession();
    EXPECT_EQ(session->resume(), c.resumed) << c.name;
    EXPECT_EQ(session->uid(), c.expectedUid) << c.name;
    EXPECT_EQ(session->isConnected(), c.resumed) << c.name;
    std::vector<std::string> expected;
    if (c.resumed) expected.push_back("login " + std::to_string(c.expectedUid));
    EXPECT_EQ(recorder.events, expected) << c.name;
    // A session that is not resumed leaves the saved values alone.
    if (c.resumed) {
      EXPECT_EQ(session->sessionSecret(), c.secret ? c.secret->view().asString() : std::nullopt);
    } else {
      EXPECT_EQ(defaults().objectForKey("FBSessionKey").has_value(), c.key.has_value());
    }
  }
}

TEST_F(FBSessionTest, BeginSavesWhatALaterSessionResumes) {
  auto expires = std::chrono::system_clock::now() + hours(24);
  makeSession()->begin(kBigUid, "key-1", "secret-1", expires);
  EXPECT_TRUE(recorder.events.empty());
  auto later = makeSession();
  ASSERT_TRUE(later->resume());
  EXPECT_EQ(later->uid(), kBigUid);
  EXPECT_EQ(later->sessionKey(), "key-1");
  EXPECT_EQ(later->sessionSecret(), "secret-1");
  ASSERT_TRUE(later->expirationDate());
  EXPECT_LT(std::chrono::abs(*later->expirationDate() - expires), std::chrono::milliseconds(1));

  later->begin(0, std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(savedKeyCount(), 0u);
  EXPECT_FALSE(makeSession()->resume());
}

TEST_F(FBSessionTest, LogoutRemovesEveryFacebookCookieAndTheSavedSession) {
  for (bool connected : {true, false}) {
    auto& jar = net::CookieStore::shared();
    for (auto [domain, secure] : {std::pair{"facebook.com", true},
                                  {"www.facebook.com", true},
                                  {"m.facebook.com", false},
                                  {"login.facebook.com", false},
                                  {"example.com", false},
                                  {"notfacebook.com", true}}) {
      net::CookieStore::Cookie cookie;
      cookie.domain = domain;
      cookie.includeSubdomains = std::string(domain) == "facebook.com";
      cookie.secure = secure;
      cookie.name = "c_user";
      cookie.value = "1";
      jar.setCookie(cookie);
    }
    auto session = makeSession();
    if (connected) session->begin(7, "key", std::nullopt, std::nullopt);
    defaults().setString("stale", "FBSessionSecret");
    recorder.events.clear();
    session->logout();

    std::vector<std::string> left;
    for (const auto& c : jar.cookies()) left.push_back(c.domain);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"example.com", "notfacebook.com"})) << connected;
    EXPECT_EQ(savedKeyCount(), 0u) << connected;
    EXPECT_FALSE(session->isConnected());
    EXPECT_EQ(session->uid(), 0);
    std::vector<std::string> heard;
    if (connected) heard = {"will logout 7", "logged out"};
    EXPECT_EQ(recorder.events, heard);
  }
}

TEST_F(FBSessionTest, CancelLoginIsHeardOnlyWhileNotConnected) {
  auto session = makeSession();
  session->cancelLogin();
  session->begin(5, "key", std::nullopt, std::nullopt);
  session->cancelLogin();
  EXPECT_EQ(recorder.events, std::vector<std::string>{"not logged in"});
}

TEST_F(FBSessionTest, FirstLiveSessionIsShared) {
  ASSERT_EQ(FBSession::session(), nullptr);
  auto first = makeSession();
  auto second = FBSession::sessionForApplicationWithProxy("key", "http://proxy/", nullptr);
  EXPECT_EQ(FBSession::session(), first);
  EXPECT_EQ(second->apiSecret(), std::nullopt);
  EXPECT_EQ(second->getSessionProxy(), "http://proxy/");
  first.reset();
  EXPECT_EQ(FBSession::session(), nullptr);
  auto third = makeSession();
  EXPECT_EQ(FBSession::session(), third);
}

TEST_F(FBSessionTest, RestCallsTravelOverHttpsExceptToLoopback) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://api.facebook.com", "https://api.facebook.com/restserver.php"},
      {"http://api.facebook.com/", "https://api.facebook.com/restserver.php"},
      {"api.example.com", "https://api.example.com/restserver.php"},
      {"http://127.attacker.example", "https://127.attacker.example/restserver.php"},
      {"http://127.0.0.1:8080", "http://127.0.0.1:8080/restserver.php"},
      {"http://localhost:1/fb", "http://localhost:1/fb/restserver.php"},
      {"http://[::1]:2", "http://[::1]:2/restserver.php"},
  };
  for (auto [address, endpoint] : cases) EXPECT_EQ(FBHosts::restEndpoint(address), endpoint);

  auto session = makeSession();
  EXPECT_EQ(session->apiURL(), "https://api.facebook.com/restserver.php");
  EXPECT_EQ(session->videoURL(), "https://api-video.facebook.com/restserver.php");
  EXPECT_EQ(FBHosts::secureRestEndpoint("http://127.0.0.1:8080"),
            "https://127.0.0.1:8080/restserver.php");
}

}  // namespace
