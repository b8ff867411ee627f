#include "sharing/services/WebServiceSharers.h"

#include "app/sandbox/BasicAuth.h"
#include "platform/graphics/Image.h"
#include "sharing/services/SHKGoogleReader.h"
#include "tests/sharing/core/SandboxSharingTest.h"

namespace {

// The web services (Google Reader, Instapaper, Pinboard, Read It Later, Tumblr) against a sandbox
// on loopback.
class WebServiceTest : public SandboxSharingTest {
 protected:
  void SetUp() override {
    SandboxSharingTest::SetUp();
    registerWebServiceSharers();
  }
  void TearDown() override {
    startOver();
    SandboxSharingTest::TearDown();
  }

  // Closes what the last case left on screen and forgets its requests and outcomes, for the
  // next case of a table.
  void startOver() {
    runFor(5);
    while (root_->modalViewController()) {
      root_->dismissModalViewController(false);
      runFor(1);
    }
    SHK::currentHelper().reset();
    ui::AlertStack::shared().reset();
    outcomes_.clear();
    sandbox_.log().clear();
  }
  // Logged out, shares a link and types `user` and `password` into the login form; waits until
  // an alert, an outcome or the share form shows.
  void logInWithForm(const std::string& service, const std::string& user,
                     const std::string& password) {
    startOver();
    SHK::logoutOfService(service);
    SHKSharer::shareItem(service, SHKItem::URL(*net::Url::parse("http://a.b/")));
    runFor(1);
    submitForm({user, password});
    waitFor([&] {
      return !alertText().empty() || !endings().empty() || (form() && form()->title() != "Login");
    });
    runFor(1);
  }
  // Shares `item` logged in as "ann@x.y" with `password`, and waits for the outcome.
  void shareLoggedIn(const std::string& service, std::shared_ptr<SHKItem> item,
                     const std::string& password = "pw") {
    startOver();
    SHK::setAuthValue("ann@x.y", "email", service);     // Tumblr's and Google Reader's login
    SHK::setAuthValue("ann@x.y", "username", service);  // the others'
    SHK::setAuthValue(password, "password", service);
    auto sharer = SHKSharer::create(service);  // as a saved share form would send it
    sharer->setItem(std::move(item));
    EXPECT_TRUE(sharer->tryToSend());
    waitFor([this] { return !endings().empty() || !alertText().empty(); });
    runFor(1);
  }
  // The outcomes ("done", "failed"), the alert and whether a form is up, as one line.
  std::string ending() {
    std::string out = endings().empty() ? "none" : "";
    for (const auto& e : endings()) out += e == kFinish ? "done" : e == kFail ? "failed" : e;
    if (!alertText().empty()) out += ": " + alertText();
    return form() ? out + " +form" : out;
  }
};

// What each service makes of a typed login: a refusal keeps the form with the service's alert and
// stores nothing; an accepted login is stored and goes on to the send.
TEST_F(WebServiceTest, LoginForms) {
  const std::string relogin = "failed: Error: Could not authenticate you. Please relogin. +form";
  const std::string google = "accounts POST /accounts/ClientLogin",
                    pinboard = "api GET /v1/posts/get";
  const struct {
    std::string service;
    const char *password, *sent;
    std::string outcome, route = "";  // answered with `status` and `body` instead of the sandbox
    int status = 0;
    const char* body = "";
  } cases[] = {
      {"Instapaper", "p@ss word&x", "username=ann&password=p@ss%20word%26x", "done"},
      {"Instapaper", "pw", "username=ann&password=pw",
       "none: Login Error: Sorry, Instapaper did not accept your credentials. Please try again. "
       "+form",
       "api POST /api/authenticate", 403},
      {"ReadItLater", "p w", "apikey=&username=ann&password=p%20w", "done"},
      {"ReadItLater", "wrong", "apikey=&username=ann&password=wrong",
       "none: Login Error: Username and/or password is incorrect +form"},
      {"Tumblr", "pw", "email=ann&password=pw", "none +form"},
      {"Tumblr", "wrong", "email=ann&password=wrong",
       "none: Login Error: Invalid email or password. +form"},
      {"GoogleReader", "pw", nullptr, "none: Login Error: Incorrect username and password +form",
       google, 403, "Error=BadAuthentication\n"},
      {"GoogleReader", "pw", nullptr, "none: Login Error: %n%s %@ +form", google, 403,
       "Error=%n%s %@\n"},
      // Pinboard takes status 200 with a body other than "401 Forbidden" only.
      {"Pinboard", "pw", "", "none +form", pinboard, 200, "<posts/>"},
      {"Pinboard", "pw", "", relogin, pinboard, 200, "401 Forbidden"},
      {"Pinboard", "pw", nullptr, relogin, "", -1},  // no answer at all (last: the sandbox stops)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.service + " " + c.outcome);
    const std::string service = "SHK" + c.service;
    if (!c.route.empty()) answer(service, c.route, c.status, c.body);
    if (c.status < 0) sandbox_.stop();
    logInWithForm(service, "ann", c.password);
    EXPECT_EQ(ending(), c.outcome);
    if (c.sent) {
      EXPECT_EQ(requests().at(0).body, c.sent);
    }
    bool accepted = !c.outcome.starts_with("none:") && !c.outcome.starts_with("failed");
    EXPECT_EQ(SHK::getAuthValueForKey("password", service).value_or("") == c.password, accepted);
  }
}

// Credentials are address components: "@", ":", "/" and "?" in them cannot move the request to
// another host, and reach the service whole.
TEST_F(WebServiceTest, PinboardCredentialsStayInTheUserInformation) {
  logInWithForm("SHKPinboard", "a@n/n", "p@host.example/?#x");
  const SandboxRequest login = requests().at(0);
  EXPECT_EQ(login.method + " " + login.path + " " + login.body + "|" + header(login, "Host"),
            "GET /v1/posts/get |127.0.0.1:" + std::to_string(sandbox_.port()));
  auto auth = basicAuth(login);
  EXPECT_EQ(auth ? auth->first + "|" + auth->second : "", "a@n/n|p@host.example/?#x");
  EXPECT_EQ(SHK::getAuthValueForKey("password", "SHKPinboard"), "p@host.example/?#x");
}

// How each service reports a send: its own texts for refused logins (with the login form again),
// for errors of the service and for other answers. Links ask the sandbox for a status.
TEST_F(WebServiceTest, SendOutcomes) {
  auto link = [](int status = 0) {  // the sandbox answers a link's "sandbox-status"
    std::string query = status ? "?sandbox-status=" + std::to_string(status) : "";
    return SHKItem::URL(*net::Url::parse("http://a.b/" + query));
  };
  auto titled = SHKItem::text("sandbox-status=500");  // the sandbox reads the status from the title
  titled->setTitle(titled->text());
  const std::string relogin = "failed: Error: Could not authenticate you. Please relogin. +form";
  const struct {
    std::string service;
    std::shared_ptr<SHKItem> item;
    const char* password;
    std::string outcome;
    const char* route = nullptr;  // answered with `status` and an X-Error header instead
    int status = 0;
    const char* xError = "";
  } cases[] = {
      {"Instapaper", link(201), "pw", "done"},
      {"Instapaper", link(), "wrong",
       "failed: Error: Sorry, Instapaper did not accept your credentials. Please try again. +form"},
      {"Instapaper", link(500), "pw",
       "failed: Error: The service encountered an error. Please try again later."},
      {"Instapaper", link(404), "pw", "failed: Error: There was a problem saving to Instapaper."},
      {"Pinboard", link(500), "pw", "failed: Error: There was an error saving to Pinboard"},
      {"Pinboard", link(), "wrong", relogin},
      {"ReadItLater", link(), "wrong", relogin},
      {"ReadItLater", link(500), "pw", "failed: Error: Sandbox error 500"},
      {"ReadItLater", link(), "pw", "failed: Error: %n%s %@", "api POST /v2/send", 400, "%n%s %@"},
      {"Tumblr", titled, "pw",
       "failed: Error: The service encountered an error. Please try again later."},
      {"Tumblr", SHKItem::text("x"), "wrong", "failed: Error: Invalid email or password. +form"},
      {"Tumblr", link(404), "pw", "failed: Error: There was a sending your post to Tumblr."},
      {"Tumblr", SHKItem::image(graphics::Image::filled({2, 2}, {})), "wrong",
       "failed: Error: Invalid email or password. +form"},
      // A refused login while the send waits is that send's failure.
      {"GoogleReader", link(), "wrong", "failed: Error: Incorrect username and password +form"},
      {"GoogleReader", link(500), "pw", "failed: Error: There was a problem saving your note."},
      {"GoogleReader", link(), "pw",
       "failed: Error: There was a problem authenticating your account.",
       "reader GET /reader/api/0/token", 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.service + " " + c.outcome);
    if (c.route) answer("SHK" + c.service, c.route, c.status, "", c.xError);
    shareLoggedIn("SHK" + c.service, c.item, c.password);
    EXPECT_EQ(ending(), c.outcome);
  }
}

// What each service sends: links, titles, tags and notes escaped so that their "&", "=", "?" and
// quotation marks neither end a field nor add one (Read It Later's JSON read back by the sandbox).
TEST_F(WebServiceTest, RequestsOfEachService) {
  using Custom = std::vector<std::pair<const char*, const char*>>;
  auto item = [](std::shared_ptr<SHKItem> item, std::optional<std::string> title,
                 std::optional<std::string> tags, Custom custom = {}) {
    item->setTitle(title);
    item->setTags(tags);
    for (auto [key, value] : custom) item->setCustomValue(value, key);
    return item;
  };
  auto link = [](const char* address) { return SHKItem::URL(*net::Url::parse(address)); };
  auto pinboard = [&](const char* shared) {
    auto pin = item(link("http://a.b/x?y=1&z"), "Tom & \"Jerry\" = 100%?", "a b,c&d=e",
                    {{"shared", shared}});
    pin->setText("note: /x");
    return pin;
  };
  const std::string pinQuery =
      "GET /v1/posts/add?url=http%3A%2F%2Fa.b%2Fx%3Fy%3D1%26z&description=Tom%20%26%20%22Jerry%22"
      "%20=%20100%25?&tags=a%20b,c%26d=e&extended=note:%20/x&shared=";
  const std::string form = " [application/x-www-form-urlencoded]",
                    json =
                        "&new={\"0\":{\"url\":\"http%3A%2F%2Fa.b%2F\",\"title\":\"Tom%20%5C%22%26%"
                        "5C%22%20=%20x%5Cn\"}}";
  const std::tuple<const char*, std::shared_ptr<SHKItem>, std::string> cases[] = {
      {"Instapaper", link(net::escapeAddress("http://a.b/x y?q=1&u=2").c_str()),
       "POST /api/add url=http%3A%2F%2Fa.b%2Fx%2520y%3Fq%3D1%26u%3D2&username=ann@x.y&password=pw" +
           form},
      {"Pinboard", pinboard("1"), pinQuery + "yes  []"},
      {"Pinboard", pinboard("0"), pinQuery + "no  []"},
      {"ReadItLater", item(link("http://a.b/"), "Tom \"&\" = x\n", std::nullopt),
       "POST /v2/send apikey=&username=ann@x.y&password=pw" + json + form},
      {"ReadItLater", item(link("http://a.b/"), "Tom \"&\" = x\n", "a, \"b\""),
       "POST /v2/send apikey=&username=ann@x.y&password=pw" + json +
           "&update_tags={\"0\":{\"url\":\"http%3A%2F%2Fa.b%2F\",\"tags\":\"a,%20%5C%22b%5C%22\"}"
           "}" +
           form},
      {"Tumblr", item(SHKItem::text("Hi & bye"), std::nullopt, std::nullopt),
       "POST /api/write email=ann@x.y&password=pw&send-to-twitter=no&private=0&type=regular"
       "&body=Hi%20%26%20bye" +
           form},
      {"Tumblr",
       item(link("http://a.b/?q=1"), "T=1&x", "a&b=c, d",
            {{"slug", "my slug&x=1"}, {"twitter", "1"}, {"private", "1"}}),
       "POST /api/write email=ann@x.y&password=pw&send-to-twitter=auto&tags=a%26b=c,%20d"
       "&slug=my%20slug%26x=1&private=1&type=link&url=http%3A%2F%2Fa.b%2F%3Fq%3D1&name=T=1%26x" +
           form},
  };
  for (const auto& [service, shared, sent] : cases) {
    shareLoggedIn("SHK" + std::string(service), shared);
    EXPECT_EQ(ending(), "done") << service;
    ASSERT_EQ(requests().size(), 1u) << service;
    const SandboxRequest r = requests()[0];
    EXPECT_EQ(r.method + " " + r.path + (r.query.empty() ? "" : "?" + r.query) + " " + r.body +
                  " [" + header(r, "Content-Type") + "]",
              sent);
  }
}

TEST_F(WebServiceTest, TumblrPicturePartsInOrder) {
  auto image = graphics::Image::filled({4, 3}, graphics::Color::rgb(200, 10, 10));
  const std::string boundary = "\r\n--0xKhTmLbOuNdArY";
  auto part = [&](const std::string& name, const std::string& value) {
    return boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value;
  };
  const std::string head =
      part("email", "ann@x.y") + part("password", "pw") + part("type", "photo");
  const std::string data =
      boundary +
      "\r\nContent-Disposition: form-data; name=\"data\"; "
      "filename=\"upload.jpg\"\r\nContent-Transfer-Encoding: image/jpg\r\n\r\n" +
      image->jpegData(0.9) + boundary + "--\r\n";
  auto plain = SHKItem::image(image), full = SHKItem::image(image);
  full->setTags("t1");
  for (auto [key, value] : {std::pair{"caption", "Cap"}, {"slug", "s"}, {"private", "1"}})
    full->setCustomValue(value, key);
  full->setCustomValue("1", "twitter");
  const std::pair<std::shared_ptr<SHKItem>, std::string> cases[] = {
      {plain, part("private", "0") + part("twitter", "no")},
      {full, part("tags", "t1") + part("caption", "Cap") + part("slug", "s") +
                 part("private", "1") + part("twitter", "auto")},
  };
  for (const auto& [item, middle] : cases) {
    shareLoggedIn("SHKTumblr", item);
    EXPECT_EQ(ending(), "done");
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(header(requests()[0], "Content-Type"),
              "multipart/form-data; boundary=0xKhTmLbOuNdArY");
    EXPECT_EQ(requests()[0].body, head + middle + data);
  }
}

TEST(GoogleReaderSession, Lines) {
  const std::pair<std::string, SHKGoogleReader::Session> cases[] = {
      {"SID=a\nLSID=b\r\nAuth=c\n", {{"SID", "a"}, {"LSID", "b"}, {"Auth", "c"}}},
      {"Error=BadAuthentication", {{"Error", "BadAuthentication"}}},
      // Not one key=value, or not safe in a Cookie header: left out.
      {"bad\nx=y=z\n=v\nc=d;e\nf=g,h\nk=\x01v\nm=\x7f\nok=1", {{"ok", "1"}}},
  };
  for (const auto& [answer, session] : cases) {
    EXPECT_EQ(SHKGoogleReader::parseSession(answer), session) << answer;
  }
}

// Without a session a send logs in, then resumes with the token and the post; it starts once.
TEST_F(WebServiceTest, GoogleReaderLogsInThenResumes) {
  auto item = SHKItem::URL(*net::Url::parse("http://a.b/"), "T");
  item->setText("Nice & new");
  item->setCustomValue("1", "share");
  shareLoggedIn("SHKGoogleReader", item);
  EXPECT_EQ(outcomes_, (Strings{kStart, kFinish}));
  auto all = requests();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].path + " " + all[0].body + header(all[0], "Cookie"),
            "/accounts/ClientLogin service=reader&source=Sharing-My%2520App%2520Name-0.2.1"
            "&Email=ann@x.y&Passwd=pw&accountType=GOOGLE");
  EXPECT_EQ(all[1].method + " " + all[1].path + " " + all[1].query.substr(0, 3),
            "GET /reader/api/0/token ck=");
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

}  // namespace
