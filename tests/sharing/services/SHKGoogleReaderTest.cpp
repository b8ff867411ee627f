#include "sharing/services/SHKGoogleReader.h"

#include "tests/sharing/services/WebServiceTestSupport.h"

namespace {

class SHKGoogleReaderTest : public WebServiceTest {
 protected:
  void send(const std::string& link, const std::string& password = "pw") {
    startOver();
    SHK::setAuthValue("ann@x.y", "email", "SHKGoogleReader");
    SHK::setAuthValue(password, "password", "SHKGoogleReader");
    auto item = SHKItem::URL(*net::Url::parse(link), "T");
    item->setText("Nice & new");
    item->setCustomValue("1", "share");
    auto sharer = SHKSharer::create("SHKGoogleReader");
    sharer->setItem(item);
    EXPECT_TRUE(sharer->tryToSend());
    waitForOutcome();
  }
};

TEST_F(SHKGoogleReaderTest, SessionLines) {
  const std::pair<std::string, SHKGoogleReader::Session> cases[] = {
      {"SID=a\nLSID=b\r\nAuth=c\n", {{"SID", "a"}, {"LSID", "b"}, {"Auth", "c"}}},
      {"Error=BadAuthentication", {{"Error", "BadAuthentication"}}},
      // Not one key=value, or not safe in a Cookie header: left out.
      {"bad\nx=y=z\n=v\nc=d;e\nf=g,h\nk=\x01v\nm=\x7f\nok=1", {{"ok", "1"}}},
  };
  for (const auto& [answer, session] : cases) {
    EXPECT_EQ(SHKGoogleReader::parseSession(answer), session) << answer;
  }
  EXPECT_EQ(SHKGoogleReader::signatureFields({{"SID", "a"}, {"Auth", "c"}}),
            (net::UrlRequest::HeaderFields{{"Cookie", "Auth=c; SID=a"},
                                           {"Authorization", "GoogleLogin auth=c"}}));
}

// Without a session a send logs in, then resumes with the token and the post; it starts once.
TEST_F(SHKGoogleReaderTest, SendLogsInThenResumes) {
  send("http://a.b/");
  EXPECT_EQ(outcomes_, (Strings{kStart, kFinish}));
  auto all = requests();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].path + " " + all[0].body + header(all[0], "Cookie"),
            "/accounts/ClientLogin service=reader&source=Sharing-My%2520App%2520Name-0.2.1"
            "&Email=ann@x.y&Passwd=pw&accountType=GOOGLE");
  EXPECT_EQ(all[1].method + " " + all[1].path + " " + all[1].query.substr(0, 3),
            "GET /reader/api/0/token ck=");
  EXPECT_NEAR(std::stod(all[1].query.substr(3)), double(std::time(nullptr)), 60);
  for (size_t i : {1, 2}) {
    EXPECT_EQ(header(all[i], "Cookie") + "|" + header(all[i], "Authorization"),
              "Auth=sandbox-auth-7; LSID=sandbox-lsid; SID=sandbox-sid|GoogleLogin "
              "auth=sandbox-auth-7");
  }
  EXPECT_EQ(all[2].method + " " + all[2].path + " " + all[2].body,
            "POST /reader/api/0/item/edit T=sandbox-token&linkify=false&snippet=Nice%20%26%20new"
            "&srcTitle=My%20App%20Name&srcUrl=http://example.com&title=T&url=http%3A%2F%2Fa.b%2F"
            "&share=true");
}

TEST_F(SHKGoogleReaderTest, SendFailures) {
  // A refused login while the send waits is that send's failure. A refused token stays refused:
  // that case comes last.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"http://a.b/", "wrong", "failed: Error: Incorrect username and password +form"},
      {"http://a.b/?sandbox-status=500", "pw",
       "failed: Error: There was a problem saving your note."},
      {"http://a.b/", "token", "failed: Error: There was a problem authenticating your account."},
  };
  for (const auto& [link, password, outcome] : cases) {
    if (password == std::string("token"))
      answer("SHKGoogleReader", "reader", "GET", "/reader/api/0/token", 500);
    send(link, password);
    EXPECT_EQ(outcomes_.front(), kStart);
    EXPECT_EQ(ending(), outcome);
  }
}

TEST_F(SHKGoogleReaderTest, LoginFormAnswers) {
  const std::pair<std::string, std::string> cases[] = {
      {"Error=BadAuthentication\n", "Incorrect username and password"},
      {"Error=%n%s %@\n", "%n%s %@"},
      {"", "There was an error logging into Google Reader"},
  };
  for (const auto& [body, message] : cases) {
    answer("SHKGoogleReader", "accounts", "POST", "/accounts/ClientLogin", 403, body);
    logInWithForm("SHKGoogleReader", "ann@x.y", "pw");
    EXPECT_EQ(ending(), "none: Login Error: " + message + " +form");
    EXPECT_FALSE(SHK::getAuthValueForKey("email", "SHKGoogleReader"));
  }
}

}  // namespace
