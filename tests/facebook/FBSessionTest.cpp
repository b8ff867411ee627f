#include "facebook/FBSession.h"

#include <gtest/gtest.h>

#include "platform/store/UserDefaults.h"
#include "tests/facebook/FBTestSupport.h"

namespace {

using std::chrono::hours;
using store::Plist;
using Events = std::vector<std::string>;

constexpr FBUid kBigUid = 9007199254740993;  // 2^53 + 1: not a double
const char* const kKeys[] = {"FBUserId", "FBSessionKey", "FBSessionSecret", "FBSessionExpires"};

// Sessions of their own besides the fixture's, and the settings they are saved in.
class FBSessionTest : public testing_support::FBTest {
 protected:
  std::shared_ptr<FBSession> makeSession() {
    return FBSession::sessionForApplication("key", "secret", &recorder);
  }
  store::UserDefaults& defaults() { return store::UserDefaults::standard(); }
  size_t savedKeyCount() {
    return std::ranges::count_if(kKeys,
                                 [this](auto key) { return bool(defaults().objectForKey(key)); });
  }
};

// The saved user, session key, secret and expiry; the user resumed (0: none).
TEST_F(FBSessionTest, ResumeFollowsTheSavedValues) {
  using P = std::optional<Plist>;
  const auto now = std::chrono::system_clock::now();
  const P uid = Plist::integer(42), key = Plist::string("k"), secret = Plist::string("s");
  const std::tuple<const char*, P, P, P, P, FBUid> cases[] = {
      {"no expiry", uid, key, secret, {}, 42},
      {"future expiry", uid, key, {}, Plist::date(now + hours(1)), 42},
      {"past expiry", uid, key, {}, Plist::date(now - std::chrono::seconds(1)), 0},
      {"expiry as text", uid, key, {}, Plist::string("2099-01-01"), 0},
      {"uid as decimal text", Plist::string("9007199254740993"), key, {}, {}, kBigUid},
      {"no uid", {}, key, {}, {}, 0},
      {"uid as other text", Plist::string("42abc"), key, {}, {}, 0},
      {"no session key", uid, {}, {}, {}, 0},
      {"secret as number", uid, key, Plist::integer(1), {}, 42},
  };
  for (const auto& [name, uid, key, secret, expires, resumed] : cases) {
    SCOPED_TRACE(name);
    const P* values[] = {&uid, &key, &secret, &expires};
    for (int i = 0; i < 4; ++i)
      *values[i] ? defaults().setObject(**values[i], kKeys[i])
                 : defaults().removeObjectForKey(kKeys[i]);
    const size_t saved = savedKeyCount();
    recorder.events.clear();
    auto session = makeSession();
    EXPECT_EQ(session->resume(), resumed != 0);
    EXPECT_EQ(recorder.events, resumed ? Events{"login " + std::to_string(resumed)} : Events{});
    EXPECT_EQ(savedKeyCount(), saved);  // resuming or not, the saved values stay
    EXPECT_EQ(session->sessionSecret(),
              resumed && secret ? secret->view().asString() : std::nullopt);
  }
}

TEST_F(FBSessionTest, BeginSavesWhatALaterSessionResumes) {
  auto expires = std::chrono::system_clock::now() + hours(24);
  makeSession()->begin(kBigUid, "key-1", "secret-1", expires);
  EXPECT_TRUE(recorder.events.empty());
  auto later = makeSession();
  ASSERT_TRUE(later->resume());
  EXPECT_EQ(later->uid(), kBigUid);
  EXPECT_EQ(later->sessionKey().value() + " " + later->sessionSecret().value(), "key-1 secret-1");
  EXPECT_LT(std::chrono::abs(later->expirationDate().value() - expires),
            std::chrono::milliseconds(1));
  later->begin(0, std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(savedKeyCount(), 0u);
}

TEST_F(FBSessionTest, LogoutRemovesEveryFacebookCookieAndTheSavedSession) {
  auto& jar = net::CookieStore::shared();
  for (bool connected : {true, false}) {
    SCOPED_TRACE(connected);
    for (std::string domain :
         {"facebook.com", "www.facebook.com", "m.facebook.com", "example.com", "notfacebook.com"})
      jar.setCookie(
          {domain, domain == "facebook.com", "/", domain != "m.facebook.com", 0, "c", "1"});
    auto session = makeSession();
    if (connected) session->begin(7, "key", std::nullopt, std::nullopt);
    defaults().setString("stale", "FBSessionSecret");
    recorder.events.clear();
    session->logout();
    Events left;
    for (const auto& c : jar.cookies()) left.push_back(c.domain);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Events{"example.com", "notfacebook.com"}));
    EXPECT_EQ(savedKeyCount(), 0u);
    EXPECT_TRUE(!session->isConnected() && session->uid() == 0);
    EXPECT_EQ(recorder.events, (connected ? Events{"will logout 7", "logged out"} : Events{}));
  }
}

TEST_F(FBSessionTest, FirstLiveSessionIsShared) {
  auto second = makeSession();
  EXPECT_EQ(FBSession::session(), session);  // the fixture's came first
  session.reset();
  EXPECT_EQ(FBSession::session(), nullptr);
  auto third = makeSession();
  EXPECT_EQ(FBSession::session(), third);
}

TEST_F(FBSessionTest, RestCallsTravelOverHttpsExceptToLoopback) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://api.facebook.com/", "https://api.facebook.com/restserver.php"},
      {"api.example.com", "https://api.example.com/restserver.php"},
      {"http://127.attacker.example", "https://127.attacker.example/restserver.php"},
      {"http://127.0.0.1:8080", "http://127.0.0.1:8080/restserver.php"},
      {"http://localhost:1/fb", "http://localhost:1/fb/restserver.php"},
      {"http://[::1]:2", "http://[::1]:2/restserver.php"},
  };
  for (auto [address, endpoint] : cases) EXPECT_EQ(FBHosts::restEndpoint(address), endpoint);
}

}  // namespace
