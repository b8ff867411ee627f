#include "platform/net/UrlLoader.h"

#include <curl/curl.h>

#include <memory>

#include "platform/base/Strings.h"
#include "platform/net/CookieStore.h"
#include "platform/net/CurlRequest.h"
#include "platform/net/Initialize.h"

namespace net {
namespace {

struct Transfer {
  LoadResult* result;
  std::size_t maxBody;
  bool tooLarge = false;
  bool setsCookie = false;  // a response set a cookie: the cookie file needs saving
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
    std::string name = base::trim(line.substr(0, colon));
    if (base::toLowerAscii(name) == "set-cookie") transfer->setsCookie = true;
    response.addHeaderField(name, base::trim(line.substr(colon + 1)));
  }
  return bytes;
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
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) {
    result.error = Error(Error::kDomain, Error::Unknown, "Could not start a transfer");
    return result;
  }
  CURL* h = easy.get();
  curl_slist* headerList = nullptr;
  Error setupError = CurlRequest::configure(h, request, headerList);
  std::unique_ptr<curl_slist, ListDeleter> headers(headerList);
  if (!setupError.ok()) {
    result.error = setupError;
    return result;
  }

  Transfer transfer{&result, maxBodyBytes};
  char errorText[CURL_ERROR_SIZE] = {0};
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBodyBytes));

  CURLcode code = curl_easy_perform(h);
  if (transfer.setsCookie) CookieStore::shared().persist();

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
    result.error = CurlRequest::errorFor(code, errorText);
  }
  return result;
}

}  // namespace net
