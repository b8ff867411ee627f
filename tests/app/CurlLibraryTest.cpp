// The program's own libcurl entry points forward every kind of argument to the opened library:
// transfers against a loopback server, with options of each argument type and shared cookies.
#include "app/CurlLibrary.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/net/Initialize.h"
#include "tests/support/LoopbackServer.h"

namespace {

size_t collect(char* data, size_t size, size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

struct Outcome {
  CURLcode code = CURLE_OK;
  std::string body;
};

Outcome get(const std::string& url, curl_off_t maxSize, CURLSH* share = nullptr) {
  Outcome out;
  CURL* easy = curl_easy_init();
  curl_slist* headers = curl_slist_append(nullptr, "X-Probe: forwarded");
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &collect);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &out.body);
  curl_easy_setopt(easy, CURLOPT_TIMEOUT, 10L);
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, maxSize);
  curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
  if (share) curl_easy_setopt(easy, CURLOPT_SHARE, share);
  out.code = curl_easy_perform(easy);
  curl_slist_free_all(headers);
  curl_easy_cleanup(easy);
  return out;
}

}  // namespace

TEST(CurlLibrary, ForwardsEveryKindOfArgument) {
  CurlLibrary library;
  net::initialize();
  testing_support::LoopbackServer server;
  server.server().Get("/echo", [](const httplib::Request& request, httplib::Response& response) {
    response.set_header("Set-Cookie", "seen=1");
    response.set_content(
        request.get_header_value("X-Probe") + " " + request.get_header_value("Cookie"),
        "text/plain");
  });
  server.start();
  EXPECT_EQ(get(server.url("/echo"), 1000).body, "forwarded ");
  EXPECT_EQ(get(server.url("/echo"), 4).code, CURLE_FILESIZE_EXCEEDED);
  // A cookie set on one handle goes out from another through the share.
  CURLSH* share = curl_share_init();
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  get(server.url("/echo"), 1000, share);
  EXPECT_EQ(get(server.url("/echo"), 1000, share).body, "forwarded seen=1");
  curl_share_cleanup(share);
}
