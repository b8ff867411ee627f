#include "platform/net/CurlRequest.h"

#include <string>

#include "platform/base/Strings.h"
#include "platform/net/CookieStore.h"

namespace net {
namespace {

long codeFor(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return Error::None;
    case CURLE_OPERATION_TIMEDOUT:
      return Error::TimedOut;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return Error::CannotFindHost;
    case CURLE_COULDNT_CONNECT:
      return Error::CannotConnectToHost;
    case CURLE_URL_MALFORMAT:
      return Error::BadURL;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return Error::UnsupportedURL;
    case CURLE_TOO_MANY_REDIRECTS:
      return Error::HTTPTooManyRedirects;
    case CURLE_SSL_CONNECT_ERROR:
      return Error::SecureConnectionFailed;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
      return Error::ServerCertificateUntrusted;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      return Error::NetworkConnectionLost;
    case CURLE_WEIRD_SERVER_REPLY:
      return Error::BadServerResponse;
    case CURLE_FILESIZE_EXCEEDED:
      return Error::DataLengthExceedsMaximum;
    case CURLE_ABORTED_BY_CALLBACK:
      return Error::Cancelled;
    default:
      return Error::Unknown;
  }
}

bool hasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

Error CurlRequest::errorFor(CURLcode code, const char* errorText) {
  return Error(Error::kDomain, codeFor(code),
               errorText && errorText[0] ? errorText : curl_easy_strerror(code));
}

Error CurlRequest::configure(CURL* easy, const UrlRequest& request, curl_slist*& headers) {
  headers = nullptr;
  const std::string& address = request.url().absoluteString();
  if (address.empty()) return Error(Error::kDomain, Error::BadURL, "No address to load");

  curl_slist* list = nullptr;
  bool setsExpect = false;
  for (const auto& [name, value] : request.allHeaderFields()) {
    if (name.empty() || hasLineBreak(name) || hasLineBreak(value) ||
        name.find(':') != std::string::npos) {
      curl_slist_free_all(list);
      return Error(Error::kDomain, Error::BadURL, "Invalid header field \"" + name + "\"");
    }
    if (base::toLowerAscii(name) == "expect") setsExpect = true;
    // "Name;" is libcurl's way of sending a field with an empty value.
    std::string line = value.empty() ? name + ";" : name + ": " + value;
    list = curl_slist_append(list, line.c_str());
  }
  // No "Expect: 100-continue" round trip before bodies.
  if (!setsExpect) list = curl_slist_append(list, "Expect:");
  headers = list;

  curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 16L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  // Only the encodings worth their cost: offering every one libcurl knows makes servers
  // brotli-compress even a few bytes.
  curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  if (request.timeoutInterval() > 0) {
    long ms = static_cast<long>(request.timeoutInterval() * 1000.0);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, ms > 0 ? ms : 1L);
  }

  const std::string& method = request.httpMethod();
  const std::string& body = request.httpBody();
  if (method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (method == "POST" || !body.empty()) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, body.data());
    if (method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
  } else if (method != "GET") {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
  }
  CookieStore::shared().attach(easy);
  return Error();
}

}  // namespace net
