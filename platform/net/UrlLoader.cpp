#include "platform/net/UrlLoader.h"

#include <curl/curl.h>

#include <memory>

#include "platform/base/Strings.h"
#include "platform/net/Initialize.h"

namespace net {
namespace {

struct Transfer {
  LoadResult* result;
  std::size_t maxBody;
  bool tooLarge = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  std::string& body = transfer->result->body;
  if (bytes > transfer->maxBody - body.size()) {
    transfer->tooLarge = true;
    return 0;  // aborts the transfer
  }
  body.append(data, bytes);
  return bytes;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  std::string_view line(data, bytes);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  UrlResponse& response = transfer->result->response;
  if (line.starts_with("HTTP/")) {
    // A new status line (after a redirect or "100 Continue"): only the last response counts.
    response.clearHeaderFields();
    size_t blank = line.find(' ');
    if (blank != std::string_view::npos) response.setStatusCode(std::atoi(line.data() + blank + 1));
  } else if (size_t colon = line.find(':'); colon != std::string_view::npos) {
    response.addHeaderField(base::trim(line.substr(0, colon)), base::trim(line.substr(colon + 1)));
  }
  return bytes;
}

long errorCodeFor(CURLcode code) {
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

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

LoadResult UrlLoader::sendSynchronousRequest(const UrlRequest& request, std::size_t maxBodyBytes) {
  initialize();
  LoadResult result;
  result.response.setUrl(request.url());
  const std::string& address = request.url().absoluteString();
  if (address.empty()) {
    result.error = Error(Error::kDomain, Error::BadURL, "No address to load");
    return result;
  }

  // Header fields go out as written; a line break in one would let it forge further fields.
  std::unique_ptr<curl_slist, ListDeleter> headers;
  bool setsExpect = false;
  for (const auto& [name, value] : request.allHeaderFields()) {
    if (name.empty() || hasLineBreak(name) || hasLineBreak(value) ||
        name.find(':') != std::string::npos) {
      result.error = Error(Error::kDomain, Error::BadURL, "Invalid header field \"" + name + "\"");
      return result;
    }
    if (base::toLowerAscii(name) == "expect") setsExpect = true;
    // "Name;" is libcurl's way of sending a field with an empty value.
    std::string line = value.empty() ? name + ";" : name + ": " + value;
    headers.reset(curl_slist_append(headers.release(), line.c_str()));
  }
  if (!setsExpect) headers.reset(curl_slist_append(headers.release(), "Expect:"));

  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) {
    result.error = Error(Error::kDomain, Error::Unknown, "Could not start a transfer");
    return result;
  }
  CURL* h = easy.get();
  Transfer transfer{&result, maxBodyBytes};
  char errorText[CURL_ERROR_SIZE] = {0};

  curl_easy_setopt(h, CURLOPT_URL, address.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 16L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBodyBytes));
  if (request.timeoutInterval() > 0) {
    long ms = static_cast<long>(request.timeoutInterval() * 1000.0);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, ms > 0 ? ms : 1L);
  }

  const std::string& method = request.httpMethod();
  const std::string& body = request.httpBody();
  if (method == "HEAD") {
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
  } else if (method == "POST" || !body.empty()) {
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    if (method != "POST") curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
  } else if (method != "GET") {
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
  }

  CURLcode code = curl_easy_perform(h);

  char* effective = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) {
    if (auto finalUrl = Url::parse(effective)) result.response.setUrl(*finalUrl);
  }
  curl_off_t length = -1;
  if (curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
    result.response.setExpectedContentLength(length);

  if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    result.body.clear();
    result.error = Error(Error::kDomain, Error::DataLengthExceedsMaximum,
                         "The response is larger than " + std::to_string(maxBodyBytes) + " bytes");
  } else if (code != CURLE_OK) {
    result.body.clear();
    std::string text = errorText[0] ? errorText : curl_easy_strerror(code);
    result.error = Error(Error::kDomain, errorCodeFor(code), text);
  }
  return result;
}

}  // namespace net
