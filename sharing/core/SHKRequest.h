#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/UrlConnection.h"
#include "platform/net/UrlRequest.h"

// One asynchronous HTTP request of a share service: address, method, a form body made by the
// caller and extra header fields. When the request has ended, successfully or not, the finish
// handler runs exactly once on the main run loop; success tells whether the status was 200 or
// 201 and the whole body arrived. A started request keeps itself alive until then.
class SHKRequest : public net::UrlConnectionDelegate,
                   public std::enable_shared_from_this<SHKRequest> {
 public:
  // The delegate's finish method; the request does not own the delegate, so a handler that
  // reaches one should hold it weakly.
  using FinishedHandler = std::function<void(SHKRequest&)>;

  static constexpr double kTimeoutSeconds = 90;
  // A longer body ends the request as a failure, with no body.
  static constexpr size_t kMaxBodyBytes = 16u << 20;

  static std::shared_ptr<SHKRequest> create(net::Url url, std::optional<std::string> params,
                                            FinishedHandler isFinished, std::string method,
                                            bool autostart);

  // Sends the request. Without params it goes out as a GET without a body, whatever the
  // method says. Header fields, when set, are the request's complete set.
  void start();
  // The body as text; empty for an empty body, nothing when it is not UTF-8.
  const std::optional<std::string>& getResult();

  const net::Url& url() const { return url_; }
  const std::optional<std::string>& params() const { return params_; }
  const std::string& method() const { return method_; }
  const std::optional<net::UrlRequest::HeaderFields>& headerFields() const { return headerFields_; }
  void setHeaderFields(std::optional<net::UrlRequest::HeaderFields> fields) {
    headerFields_ = std::move(fields);
  }
  // The last response's head, once one arrived.
  const std::optional<net::UrlResponse>& response() const { return response_; }
  const net::UrlResponse::HeaderFields& headers() const { return headers_; }
  const std::string& data() const { return data_; }
  bool success() const { return success_; }

  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) override;
  void didReceiveData(net::UrlConnection&, std::string_view data) override;
  void didFinishLoading(net::UrlConnection&) override;
  void didFailWithError(net::UrlConnection&, const net::Error& error) override;

 private:
  SHKRequest(net::Url url, std::optional<std::string> params, FinishedHandler isFinished,
             std::string method);
  void finish();

  net::Url url_;
  std::optional<std::string> params_;
  std::string method_;
  std::optional<net::UrlRequest::HeaderFields> headerFields_;
  FinishedHandler isFinished_;
  std::unique_ptr<net::UrlConnection> connection_;
  std::optional<net::UrlResponse> response_;
  net::UrlResponse::HeaderFields headers_;
  std::string data_;
  std::optional<std::optional<std::string>> result_;
  bool success_ = false;
  bool failed_ = false;  // the transfer failed or the body was too long
  bool finished_ = false;
  // Holds the request while it runs.
  std::shared_ptr<SHKRequest> self_;
};
