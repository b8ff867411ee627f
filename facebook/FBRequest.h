#pragma once
#include <any>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "facebook/FBError.h"
#include "facebook/FBValue.h"
#include "platform/graphics/Image.h"
#include "platform/net/UrlConnection.h"

class FBSession;
class FBRequestDelegate;

// A picture (sent as PNG) or a block of bytes that a REST call uploads with its parameters.
using FBDataParam = std::variant<std::monostate, graphics::ImagePtr, std::string>;

// One call of the REST API: the method name and parameters, signed with the session's secret and
// sent as a multipart POST through the session's pacing; or, without a method, a GET of any
// address with the parameters in its query (the session proxy). The XML answer is parsed into
// values for the delegate. A request is used once; while it waits or loads, the session and the
// transfer keep it alive.
class FBRequest : public net::UrlConnectionDelegate,
                  public std::enable_shared_from_this<FBRequest> {
 public:
  using Params = std::map<std::string, std::string>;

  static constexpr const char* kApiVersion = "1.0";
  static constexpr const char* kUserAgent = "FacebookClient";
  static constexpr const char* kBoundary = "3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f";
  static constexpr double kTimeoutSeconds = 180.0;

  // On the shared session, or on `session`; the delegate is not owned.
  static std::shared_ptr<FBRequest> request();
  static std::shared_ptr<FBRequest> requestWithDelegate(FBRequestDelegate* delegate);
  static std::shared_ptr<FBRequest> requestWithSession(const std::shared_ptr<FBSession>& session);
  static std::shared_ptr<FBRequest> requestWithSession(const std::shared_ptr<FBSession>& session,
                                                       FBRequestDelegate* delegate);

  ~FBRequest() override;

  FBRequestDelegate* delegate() const { return delegate_; }
  void setDelegate(FBRequestDelegate* delegate) { delegate_ = delegate; }
  const std::string& url() const { return url_; }
  const std::optional<std::string>& method() const { return method_; }
  const Params& params() const { return params_; }
  const FBDataParam& dataParam() const { return dataParam_; }
  const std::any& userInfo() const { return userInfo_; }
  void setUserInfo(std::any info) { userInfo_ = std::move(info); }
  // Run-loop time at which the request went out.
  double timestamp() const { return timestamp_; }
  bool loading() const { return connection_ != nullptr; }

  // Signs and sends the REST call `method`.
  void call(const std::string& method, const Params& params, FBDataParam data = {});
  // Sends the parameters to `url` as a GET with an escaped query, unsigned, paced like calls.
  void post(const std::string& url, const Params& params);
  // Stops the transfer, or takes the request out of the session's queue, and tells the delegate.
  void cancel();
  // "<FBRequest method>" or "<FBRequest url>".
  std::string description() const;

  // An answer's root value, or why there is none: the answer is not well-formed XML, or it is
  // an error_response (reported in `errorDomain`).
  static std::variant<FBValue, FBError> parseXMLResponse(const std::string& data,
                                                         const std::string& errorDomain);

  // Starts the transfer (the session calls this when the pacing lets the request go).
  void connect();

  void didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) override;
  void didReceiveData(net::UrlConnection&, std::string_view data) override;
  void didFinishLoading(net::UrlConnection&) override;
  void didFailWithError(net::UrlConnection&, const net::Error& error) override;

 private:
  FBRequest(std::weak_ptr<FBSession> session, FBRequestDelegate* delegate);
  bool isSpecialMethod() const;
  std::string urlForMethod(const std::string& method, const FBSession& session) const;
  std::string generateGetURL() const;
  std::string generatePostBody() const;
  // The signature of the current parameters: MD5 of name=value pairs in case-insensitive name
  // order, followed by the secret.
  std::string generateSig() const;
  void handleResponseData(const std::string& data);
  void failWithError(const FBError& error);
  // Drops the transfer and the bytes received.
  void finishTransfer();

  std::weak_ptr<FBSession> session_;
  FBRequestDelegate* delegate_;
  std::string url_;
  std::optional<std::string> method_;
  std::any userInfo_;
  Params params_;
  FBDataParam dataParam_;
  double timestamp_ = 0;
  std::unique_ptr<net::UrlConnection> connection_;
  std::string responseText_;
  // Secret the signature uses, and the API host that names the domain of error answers.
  std::optional<std::string> secret_;
  std::string errorDomain_;
  // Holds the request while its transfer runs.
  std::shared_ptr<FBRequest> self_;
};
