#include "facebook/FBRequest.h"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "facebook/FBRequestDelegate.h"
#include "facebook/FBSession.h"
#include "facebook/FBXMLHandler.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/crypto/Md5.h"
#include "platform/net/Url.h"
#include "platform/xml/XmlParser.h"

namespace {

constexpr const char* kVideoUploadMethod = "facebook.video.upload";

// Case-insensitive order of names; names equal but for case keep byte order, so the order
// is the same on every run.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
  std::string la = base::toLowerAscii(a), lb = base::toLowerAscii(b);
  return la != lb ? la < lb : a < b;
}

// The leading decimal integer of a text (after blanks), 0 when there is none.
long integerValue(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
    text.remove_prefix(1);
  if (text.starts_with('+')) text.remove_prefix(1);
  long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

std::shared_ptr<FBRequest> FBRequest::request() {
  return requestWithDelegate(nullptr);
}

std::shared_ptr<FBRequest> FBRequest::requestWithDelegate(FBRequestDelegate* delegate) {
  return requestWithSession(FBSession::session(), delegate);
}

std::shared_ptr<FBRequest> FBRequest::requestWithSession(
    const std::shared_ptr<FBSession>& session) {
  return requestWithSession(session, nullptr);
}

std::shared_ptr<FBRequest> FBRequest::requestWithSession(const std::shared_ptr<FBSession>& session,
                                                         FBRequestDelegate* delegate) {
  return std::shared_ptr<FBRequest>(new FBRequest(session, delegate));
}

FBRequest::FBRequest(std::weak_ptr<FBSession> session, FBRequestDelegate* delegate)
    : session_(std::move(session)), delegate_(delegate) {}

FBRequest::~FBRequest() = default;

std::string FBRequest::description() const {
  return "<FBRequest " + (method_ ? *method_ : url_) + ">";
}

bool FBRequest::isSpecialMethod() const {
  return method_ == "facebook.auth.getSession" || method_ == "facebook.auth.createToken";
}

std::string FBRequest::urlForMethod(const std::string& method, const FBSession& session) const {
  return method == kVideoUploadMethod ? session.videoURL() : session.apiURL();
}

void FBRequest::call(const std::string& method, const Params& params, FBDataParam data) {
  auto session = session_.lock();
  method_ = method;
  params_ = params;
  dataParam_ = std::move(data);
  if (!session) {
    failWithError({net::Error::kDomain, net::Error::BadURL, "No Facebook session", {}});
    return;
  }
  url_ = urlForMethod(method, *session);
  errorDomain_ = FBHosts::hostOf(session->hosts().api);

  params_["method"] = method;
  params_["api_key"] = session->apiKey();
  params_["v"] = kApiVersion;
  params_["format"] = "XML";
  if (isSpecialMethod()) {
    secret_ = session->apiSecret();
  } else {
    params_["session_key"] = session->sessionKey().value_or("");
    double now =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    params_["call_id"] = base::format("%.0f", now);
    if (session->sessionSecret()) params_["ss"] = "1";
    secret_ = session->sessionSecret() ? session->sessionSecret() : session->apiSecret();
  }
  params_.erase("sig");
  params_["sig"] = generateSig();
  session->send(shared_from_this());
}

void FBRequest::post(const std::string& url, const Params& params) {
  url_ = url;
  method_.reset();
  params_ = params;
  dataParam_ = {};
  auto session = session_.lock();
  if (!session) {
    connect();
    return;
  }
  errorDomain_ = FBHosts::hostOf(session->hosts().api);
  session->send(shared_from_this());
}

std::string FBRequest::generateSig() const {
  std::vector<const std::string*> names;
  for (const auto& [name, value] : params_) names.push_back(&name);
  std::sort(names.begin(), names.end(),
            [](const std::string* a, const std::string* b) { return lessIgnoringCase(*a, *b); });
  std::string text;
  for (const std::string* name : names) text += *name + "=" + params_.at(*name);
  if (secret_) text += *secret_;
  return crypto::Md5::hexDigest(text);
}

std::string FBRequest::generateGetURL() const {
  if (params_.empty()) return url_;
  std::string url = url_ + (url_.find('?') == std::string::npos ? "?" : "&");
  bool first = true;
  for (const auto& [name, value] : params_) {
    if (!first) url += "&";
    first = false;
    url += net::escapeComponent(name) + "=" + net::escapeComponent(value);
  }
  return url;
}

std::string FBRequest::generatePostBody() const {
  const std::string boundaryLine = std::string("\r\n--") + kBoundary + "\r\n";
  std::string body = std::string("--") + kBoundary + "\r\n";
  for (const auto& [name, value] : params_) {
    body += "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
    body += value;
    body += boundaryLine;
  }
  if (const auto* picture = std::get_if<graphics::ImagePtr>(&dataParam_)) {
    body += "Content-Disposition: form-data; filename=\"photo\"\r\n";
    body += "Content-Type: image/png\r\n\r\n";
    if (*picture) body += (*picture)->pngData();
    body += boundaryLine;
  } else if (const auto* bytes = std::get_if<std::string>(&dataParam_)) {
    body += "Content-Disposition: form-data; filename=\"data\"\r\n";
    body += "Content-Type: content/unknown\r\n\r\n";
    body += *bytes;
    body += boundaryLine;
  }
  // The body ends with an opening boundary line, as the REST server has always accepted.
  return body;
}

void FBRequest::connect() {
  if (delegate_) delegate_->requestLoading(*this);
  std::string address = method_ ? url_ : generateGetURL();
  timestamp_ = base::RunLoop::main().now();
  auto url = net::Url::parse(address);
  if (!url) {
    failWithError({net::Error::kDomain, net::Error::BadURL, "Bad URL: " + address, {}});
    return;
  }
  net::UrlRequest request(*url, net::UrlRequest::CachePolicy::ReloadIgnoringLocalCacheData,
                          kTimeoutSeconds);
  request.setValue("User-Agent", kUserAgent);
  if (method_) {
    request.setHttpMethod("POST");
    request.setValue("Content-Type", std::string("multipart/form-data; boundary=") + kBoundary);
    request.setHttpBody(generatePostBody());
  }
  responseText_.clear();
  connection_ = net::UrlConnection::start(std::move(request), this);
  if (!connection_) {
    failWithError({net::Error::kDomain, net::Error::Unknown, "Cannot start the transfer", {}});
    return;
  }
  self_ = shared_from_this();
}

void FBRequest::cancel() {
  auto keep = std::move(self_);
  if (connection_) {
    connection_->cancel();
    finishTransfer();
  } else {
    auto session = session_.lock();
    if (!session || !session->dequeueRequest(*this)) return;
  }
  if (delegate_) delegate_->requestWasCancelled(*this);
}

void FBRequest::didReceiveResponse(net::UrlConnection&, const net::UrlResponse& response) {
  responseText_.clear();
  if (delegate_) delegate_->requestDidReceiveResponse(*this, response);
}

void FBRequest::didReceiveData(net::UrlConnection&, std::string_view data) {
  // The connection itself fails answers past its body cap.
  responseText_.append(data);
}

void FBRequest::didFinishLoading(net::UrlConnection&) {
  auto keep = std::move(self_);
  std::string data = std::move(responseText_);
  finishTransfer();
  handleResponseData(data);
}

void FBRequest::didFailWithError(net::UrlConnection&, const net::Error& error) {
  auto keep = std::move(self_);
  finishTransfer();
  failWithError({error.domain(), error.code(), error.description(), {}});
}

void FBRequest::finishTransfer() {
  connection_.reset();
  responseText_.clear();
  responseText_.shrink_to_fit();
}

std::variant<FBValue, FBError> FBRequest::parseXMLResponse(const std::string& data,
                                                           const std::string& errorDomain) {
  FBXMLHandler handler;
  xml::XmlParser parser(data);
  parser.setDelegate(&handler);
  if (!parser.parse()) {
    const xml::XmlParseError& e = *parser.parserError();
    return FBError{"xml", e.code, e.describe(), {}};
  }
  FBValue root = handler.takeRootObject();
  if (handler.rootName() != "error_response") return root;
  FBError error{errorDomain,
                integerValue(root.member("error_code").text()),
                std::string(root.member("error_msg").text()),
                {}};
  error.requestArgs = root.takeMember("request_args");
  return error;
}

void FBRequest::handleResponseData(const std::string& data) {
  auto outcome = parseXMLResponse(data, errorDomain_);
  if (const auto* error = std::get_if<FBError>(&outcome)) {
    failWithError(*error);
  } else if (delegate_) {
    delegate_->requestDidLoad(*this, std::get<FBValue>(outcome));
  }
}

void FBRequest::failWithError(const FBError& error) {
  if (delegate_) delegate_->requestDidFailWithError(*this, error);
}
