#include "sharing/core/SHKRequest.h"

#include <glib.h>

#include "platform/base/RunLoop.h"

std::shared_ptr<SHKRequest> SHKRequest::create(net::Url url, std::optional<std::string> params,
                                               FinishedHandler isFinished, std::string method,
                                               bool autostart) {
  std::shared_ptr<SHKRequest> request(
      new SHKRequest(std::move(url), std::move(params), std::move(isFinished), std::move(method)));
  if (autostart) request->start();
  return request;
}

SHKRequest::SHKRequest(net::Url url, std::optional<std::string> params, FinishedHandler isFinished,
                       std::string method)
    : url_(std::move(url)),
      params_(std::move(params)),
      method_(std::move(method)),
      isFinished_(std::move(isFinished)) {}

void SHKRequest::start() {
  data_.clear();
  result_.reset();
  response_.reset();
  headers_.clear();
  success_ = false;
  failed_ = false;
  finished_ = false;
  net::UrlRequest request(url_, net::UrlRequest::CachePolicy::ReloadIgnoringLocalAndRemoteCacheData,
                          kTimeoutSeconds);
  if (headerFields_) {
    for (const auto& [name, value] : *headerFields_) request.setValue(name, value);
  }
  if (params_) {
    request.setHttpMethod(method_);
    request.setHttpBody(*params_);
  }
  self_ = shared_from_this();
  connection_ = net::UrlConnection::start(std::move(request), this);
  if (!connection_) {
    failed_ = true;
    // Reported like any failed connection: later, on the loop.
    std::weak_ptr<SHKRequest> weak = self_;
    base::RunLoop::main().post([weak] {
      if (auto request = weak.lock()) request->finish();
    });
  }
}

const std::optional<std::string>& SHKRequest::getResult() {
  if (!result_) {
    bool text = g_utf8_validate_len(data_.data(), data_.size(), nullptr);
    result_ = text ? std::optional<std::string>(data_) : std::nullopt;
  }
  return *result_;
}

void SHKRequest::didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) {
  response_ = response;
  headers_ = response.allHeaderFields();
  data_.clear();
}

void SHKRequest::didReceiveData(net::UrlConnection& connection, std::string_view data) {
  if (data_.size() + data.size() > kMaxBodyBytes) {
    connection.cancel();
    data_.clear();
    failed_ = true;
    finish();
    return;
  }
  data_.append(data);
}

void SHKRequest::didFinishLoading(net::UrlConnection&) {
  finish();
}

void SHKRequest::didFailWithError(net::UrlConnection&, const net::Error&) {
  // A body cut off after a good status is still a failure.
  failed_ = true;
  finish();
}

void SHKRequest::finish() {
  if (finished_) return;
  finished_ = true;
  // The request may be released by the handler; it lives until this returns.
  auto keep = std::move(self_);
  int status = response_ ? response_->statusCode() : 0;
  success_ = !failed_ && (status == 200 || status == 201);
  if (isFinished_) isFinished_(*this);
}
