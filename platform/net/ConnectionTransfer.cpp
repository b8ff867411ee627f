#include "platform/net/ConnectionTransfer.h"

#include <cstdlib>

#include "platform/base/Strings.h"
#include "platform/net/CookieStore.h"
#include "platform/net/CurlRequest.h"
#include "platform/net/TransferDriver.h"
#include "platform/net/UrlLoader.h"

namespace net {
ConnectionTransfer::ConnectionTransfer(UrlRequest request, UrlConnection* owner,
                                       UrlConnectionDelegate* delegate)
    : request_(std::move(request)), owner_(owner), delegate_(delegate) {}

ConnectionTransfer::~ConnectionTransfer() {
  if (easy_) curl_easy_cleanup(easy_);
  curl_slist_free_all(headers_);
}

bool ConnectionTransfer::create() {
  easy_ = curl_easy_init();
  if (!easy_) return false;
  setupError_ = CurlRequest::configure(easy_, request_, headers_);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorText_);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &ConnectionTransfer::onHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &ConnectionTransfer::onBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
  curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(UrlLoader::kDefaultMaxBodyBytes));
  return true;
}

size_t ConnectionTransfer::onHeader(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<ConnectionTransfer*>(self);
  size_t bytes = size * count;
  transfer->headerLine(std::string_view(data, bytes));
  return bytes;
}

size_t ConnectionTransfer::onBody(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<ConnectionTransfer*>(self);
  size_t bytes = size * count;
  if (bytes > UrlLoader::kDefaultMaxBodyBytes - transfer->bodyBytes_) {
    transfer->tooLarge_ = true;
    return 0;  // aborts the transfer
  }
  transfer->bodyBytes_ += bytes;
  transfer->deliver([chunk = std::string(data, bytes)](UrlConnectionDelegate& d, UrlConnection& c) {
    d.didReceiveData(c, chunk);
  });
  return bytes;
}

void ConnectionTransfer::headerLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.starts_with("HTTP/")) {
    pending_ = UrlResponse();
    pending_.setUrl(request_.url());
    size_t blank = line.find(' ');
    if (blank != std::string_view::npos) {
      pending_.setStatusCode(std::atoi(std::string(line.substr(blank + 1, 3)).c_str()));
    }
    inHeaderBlock_ = true;
    bodyBytes_ = 0;
  } else if (!inHeaderBlock_) {
    // Trailer fields after a chunked body belong to no response.
  } else if (line.empty()) {
    inHeaderBlock_ = false;
    endOfHeaderBlock();
  } else if (size_t colon = line.find(':'); colon != std::string_view::npos) {
    std::string name = base::trim(line.substr(0, colon));
    if (base::toLowerAscii(name) == "set-cookie") setsCookie_ = true;
    pending_.addHeaderField(name, base::trim(line.substr(colon + 1)));
  }
}

void ConnectionTransfer::endOfHeaderBlock() {
  // Interim responses ("100 Continue") announce nothing. Every other header block, a redirect
  // that libcurl goes on to follow included, starts a response of its own: the last one is the
  // connection's final response.
  if (pending_.statusCode() < 200) return;
  char* effective = nullptr;
  if (curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) {
    if (auto url = Url::parse(effective)) pending_.setUrl(*url);
  }
  std::string length = pending_.valueForHeaderField("Content-Length");
  if (!length.empty()) {
    char* end = nullptr;
    long long value = std::strtoll(length.c_str(), &end, 10);
    if (end && *end == '\0' && value >= 0) pending_.setExpectedContentLength(value);
  }
  // The block is over: the next status line starts a new one.
  deliver([response = std::move(pending_)](UrlConnectionDelegate& d, UrlConnection& c) {
    d.didReceiveResponse(c, response);
  });
}

void ConnectionTransfer::finished(CURLcode code) {
  // Saved at once, not later: a cookie received just before the program exits is kept too.
  if (setsCookie_) CookieStore::shared().persist();
  if (tooLarge_ || code == CURLE_FILESIZE_EXCEEDED) {
    failed(Error(Error::kDomain, Error::DataLengthExceedsMaximum,
                 "The response is larger than " + std::to_string(UrlLoader::kDefaultMaxBodyBytes) +
                     " bytes"));
    return;
  }
  if (code != CURLE_OK) {
    failed(CurlRequest::errorFor(code, errorText_));
    return;
  }
  deliver([](UrlConnectionDelegate& d, UrlConnection& c) { d.didFinishLoading(c); });
}

void ConnectionTransfer::failed(const Error& error) {
  deliver([error](UrlConnectionDelegate& d, UrlConnection& c) { d.didFailWithError(c, error); });
}

void ConnectionTransfer::deliver(Report report) {
  reports_.push_back(std::move(report));
  // One run takes every report queued before it; later ones need a run of their own.
  if (reports_.size() == 1) TransferDriver::shared().reportsQueued(shared_from_this());
}

void ConnectionTransfer::runReports() {
  std::vector<Report> reports;
  reports.swap(reports_);
  for (Report& report : reports) {
    // A report may cancel or destroy the connection; nothing after it runs then.
    if (cancelled() || !delegate_) return;
    report(*delegate_, *owner_);
  }
}

}  // namespace net
