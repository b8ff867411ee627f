// The WebKit engine in a real window (run under xvfb-run) against a loopback server: form POSTs
// that WebKit cannot load by itself, refused redirects and cookies in WebKit's own jar.
#include "app/gui/WebKitEngine.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <mutex>

#include "app/gui/WebKitCookieJar.h"
#include "platform/ui/WebEngineClient.h"
#include "tests/app/gui/GtkTestWindow.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempDir.h"

namespace {

// Notes what the engine reports as its client; refuses navigations to `refused`.
class WebKitEngineTest : public ::testing::Test, public ui::WebEngineClient {
 protected:
  bool engineShouldStartLoad(const net::UrlRequest& request, ui::WebViewNavigationType) override {
    asked.push_back(request);
    return request.url().path() != refused;
  }
  void engineDidStartLoad() override { events.push_back("start"); }
  void engineDidFinishLoad() override { events.push_back("finish"); }
  void engineDidFailLoad(const net::Error& e) override {
    events.push_back("fail " + std::to_string(e.code()));
  }
  static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check()); }

  void SetUp() override {
    auto keep = [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex);  // handlers run on the server's threads
      received.push_back(req);
      res.set_content("<html><body>done</body></html>", "text/html");
    };
    server.server().Get("/page", keep);
    server.server().Get("/callback", keep);
    server.server().Post("/form", keep);
    server.server().Get("/redirect", [this](const httplib::Request&, httplib::Response& res) {
      res.set_redirect(server.url("/callback?oauth_token=t&oauth_verifier=v"));
    });
    server.start();
    window = presentWindow(320, 240);
    placePage(window, engine, 320, 240);
    engine.setClient(this);
  }
  void TearDown() override {
    engine.setClient(nullptr);
    gtk_window_destroy(GTK_WINDOW(window));
    server.stop();
    base::RunLoop::main().reset();
  }

  // Loads `request` and returns what the server received for it.
  httplib::Request load(const net::UrlRequest& request) {
    const size_t before = count();
    events.clear();
    asked.clear();
    engine.loadRequest(request);
    EXPECT_TRUE(runLoopsUntil(
        [&] { return count() > before && !events.empty() && events.back() != "start"; }));
    std::lock_guard lock(mutex);
    return received.size() > before ? received[before] : httplib::Request();
  }
  size_t count() {
    std::lock_guard lock(mutex);
    return received.size();
  }

  testing_support::TempDir dir;
  testing_support::LoopbackServer server;
  std::mutex mutex;
  std::vector<httplib::Request> received;
  std::vector<net::UrlRequest> asked;
  std::vector<std::string> events;
  std::string refused = "-";
  WebKitEngine engine;
  GtkWidget* window = nullptr;
};

}  // namespace

TEST_F(WebKitEngineTest, FormPostsReachTheServerWithTheirFields) {
  // Quotes, markup, entities and line breaks must arrive as they were given.
  const std::string tricky = "say \"hi\" <b>&amp; 'you'\r\nnext line";
  const struct {
    const char* type;
    std::string body;
  } cases[] = {
      {"multipart/form-data; boundary=B",
       "--B\r\nContent-Disposition: form-data; name=\"api_key\"\r\n\r\nk1\r\n"
       "--B\r\nContent-Disposition: form-data; name=\"message\"\r\n\r\n" +
           tricky + "\r\n--B\r\n"},
      {"application/x-www-form-urlencoded",
       "api_key=k1&message=say+%22hi%22+%3Cb%3E%26amp%3B+%27you%27%0D%0Anext+line"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    net::UrlRequest request(*net::Url::parse(server.url("/form?display=touch")));
    request.setHttpMethod("POST");
    request.setValue("Content-Type", c.type);
    request.setHttpBody(c.body);
    httplib::Request got = load(request);
    EXPECT_EQ(got.get_param_value("display"), "touch");
    httplib::Params fields;
    if (got.is_multipart_form_data()) {
      for (const char* name : {"api_key", "message"})
        fields.emplace(name, got.get_file_value(name).content);
    } else {
      httplib::detail::parse_query_text(got.body, fields);
    }
    EXPECT_EQ(fields, (httplib::Params{{"api_key", "k1"}, {"message", tricky}}));
    // The client heard of the request as given, once, and of its load only.
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].httpBody(), c.body);
    EXPECT_EQ(events, (std::vector<std::string>{"start", "finish"}));
  }

  // What no form can carry is refused, not sent some other way.
  for (const char* type : {"application/json", ""}) {
    net::UrlRequest other(*net::Url::parse(server.url("/form")));
    other.setHttpMethod(*type ? "POST" : "PUT");
    other.setValue("Content-Type", type);
    other.setHttpBody(*type ? "{}" : "");
    events.clear();
    engine.loadRequest(other);
    ASSERT_TRUE(runLoopsUntil([&] { return !events.empty(); }));
    EXPECT_EQ(events, (std::vector<std::string>{"fail -1002"})) << type;
  }
}

// A redirect is a navigation too: refused, its address is never fetched, and the load ends with
// an error the OAuth page ignores (cancelled or interrupted), never a page.
TEST_F(WebKitEngineTest, ARefusedRedirectIsNeverFetched) {
  refused = "/callback";
  engine.loadRequest(net::UrlRequest(*net::Url::parse(server.url("/redirect"))));
  EXPECT_TRUE(runLoopsUntil(
      [&] { return asked.size() >= 2 && !events.empty() && events.back() != "start"; }));
  ASSERT_GE(asked.size(), 2u);
  EXPECT_EQ(asked[1].url().absoluteString(),
            server.url("/callback?oauth_token=t&oauth_verifier=v"));
  EXPECT_EQ(count(), 0u);
  EXPECT_TRUE(events.back() == "fail 102" || events.back() == "fail -999") << events.back();
}

TEST_F(WebKitEngineTest, CookiesGoOutUntilTheirDomainIsDeleted) {
  WebKitCookieJar jar;
  ASSERT_TRUE(jar.addCookie("test_cookie", "1", ".127.0.0.1"));
  ASSERT_EQ(jar.cookies().size(), 1u);
  EXPECT_FALSE(jar.cookies()[0].includeSubdomains) << "an address is host-only";
  net::UrlRequest request(*net::Url::parse(server.url("/page")));
  request.setValue("X-Asked-By", "vemo");
  httplib::Request first = load(request);
  EXPECT_EQ(first.get_header_value("Cookie"), "test_cookie=1");
  EXPECT_EQ(first.get_header_value("X-Asked-By"), "vemo");
  EXPECT_EQ(net::CookieStore::shared().cookiesForUrl(*net::Url::parse(server.url("/"))).size(), 1u);

  jar.deleteCookiesForDomain("127.0.0.1");
  EXPECT_TRUE(jar.cookies().empty());
  EXPECT_TRUE(net::CookieStore::shared().cookiesForUrl(*net::Url::parse(server.url("/"))).empty());
  EXPECT_FALSE(load(request).has_header("Cookie"));
}
