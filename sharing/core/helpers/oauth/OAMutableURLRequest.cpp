#include "sharing/core/helpers/oauth/OAMutableURLRequest.h"

#include <algorithm>
#include <chrono>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/base/Uuid.h"
#include "sharing/core/helpers/oauth/OAHMAC_SHA1SignatureProvider.h"
#include "sharing/core/helpers/oauth/OAURLEncoding.h"

namespace {

bool sendsParametersInQuery(const std::string& method) {
  return method == "GET" || method == "DELETE";
}

}  // namespace

OAMutableURLRequest::OAMutableURLRequest(
    net::Url url, OAConsumer consumer, std::optional<OAToken> token,
    std::optional<std::string> realm, std::shared_ptr<const OASignatureProviding> signatureProvider)
    : OAMutableURLRequest(std::move(url), std::move(consumer), std::move(token), std::move(realm),
                          std::move(signatureProvider), generateNonce(), generateTimestamp()) {}

OAMutableURLRequest::OAMutableURLRequest(
    net::Url url, OAConsumer consumer, std::optional<OAToken> token,
    std::optional<std::string> realm, std::shared_ptr<const OASignatureProviding> signatureProvider,
    std::string nonce, std::string timestamp)
    : net::UrlRequest(std::move(url), CachePolicy::ReloadIgnoringLocalCacheData, kTimeoutSeconds),
      consumer_(std::move(consumer)),
      token_(token ? std::move(*token) : OAToken()),
      realm_(realm ? std::move(*realm) : std::string()),
      signatureProvider_(signatureProvider
                             ? std::move(signatureProvider)
                             : std::make_shared<const OAHMAC_SHA1SignatureProvider>()),
      nonce_(std::move(nonce)),
      timestamp_(std::move(timestamp)) {}

std::string OAMutableURLRequest::generateTimestamp() {
  using namespace std::chrono;
  return std::to_string(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

std::string OAMutableURLRequest::generateNonce() {
  return base::Uuid::generateString();
}

void OAMutableURLRequest::setOAuthParameterName(const std::optional<std::string>& name,
                                                const std::optional<std::string>& value) {
  if (!name || name->empty() || !value) {
    base::log("OAuth parameter without a name or a value ignored");
    return;
  }
  extraOAuthParameters_[*name] = *value;
}

std::optional<std::vector<OARequestParameter>> OAMutableURLRequest::parameters() const {
  std::string source;
  if (sendsParametersInQuery(httpMethod())) {
    if (url().query()) source = *url().query();
  } else {
    source = httpBody();
  }
  if (source.empty()) return std::nullopt;

  std::vector<OARequestParameter> result;
  for (const std::string& piece : base::split(source, "&")) {
    // "a&&b" and a trailing "&" hold no parameter; a piece without "=" has an empty value, and
    // a value keeps any further "=" it contains.
    if (piece.empty()) continue;
    size_t equals = piece.find('=');
    std::string_view name = std::string_view(piece).substr(0, equals);
    std::string_view value = equals == std::string::npos
                                 ? std::string_view()
                                 : std::string_view(piece).substr(equals + 1);
    result.emplace_back(URLDecodedString(name), URLDecodedString(value));
  }
  return result;
}

void OAMutableURLRequest::setParameters(const std::vector<OARequestParameter>& parameters) {
  std::string encoded;
  for (size_t i = 0; i < parameters.size(); ++i) {
    if (i > 0) encoded += '&';
    encoded += parameters[i].URLEncodedNameValuePair();
  }
  if (sendsParametersInQuery(httpMethod())) {
    // Every character of the encoded pairs is legal in a URL, so the new address always parses.
    if (auto withQuery = net::Url::parse(URLStringWithoutQuery(url()) + "?" + encoded)) {
      setUrl(*withQuery);
    }
  } else {
    setValue("Content-Length", std::to_string(encoded.size()));
    setValue("Content-Type", "application/x-www-form-urlencoded");
    setHttpBody(std::move(encoded));
  }
}

std::string OAMutableURLRequest::signatureBaseString() const {
  // Encoded (name, value) pairs.
  std::vector<std::pair<std::string, std::string>> pairs;
  auto add = [&pairs](std::string_view name, std::string_view value) {
    pairs.emplace_back(URLEncodedString(name), URLEncodedString(value));
  };
  add("oauth_consumer_key", consumer_.key());
  add("oauth_signature_method", signatureProvider_->name());
  add("oauth_timestamp", timestamp_);
  add("oauth_nonce", nonce_);
  add("oauth_version", "1.0");
  if (token_.hasKey()) add("oauth_token", *token_.key());
  for (const auto& [name, value] : extraOAuthParameters_) add(name, value);
  // A multipart body is not made of name/value pairs and is not signed.
  if (!base::startsWith(valueForHeaderField("Content-Type"), "multipart/form-data")) {
    if (auto own = parameters()) {
      for (const OARequestParameter& parameter : *own) add(parameter.name(), parameter.value());
    }
  }
  // By encoded name, then by encoded value, byte by byte, as services compute it: "a=…" comes
  // before "a%20b=…" even though "%" sorts before "=".
  std::sort(pairs.begin(), pairs.end());

  std::string joined;
  for (const auto& [name, value] : pairs) {
    if (!joined.empty()) joined += '&';
    joined += name + "=" + value;
  }
  return httpMethod() + "&" + URLEncodedString(URLStringWithoutQuery(url())) + "&" +
         URLEncodedString(joined);
}

void OAMutableURLRequest::prepare() {
  if (didPrepare_) return;
  didPrepare_ = true;

  std::string secret = URLEncodedString(consumer_.secret()) + "&" +
                       URLEncodedString(token_.secret().value_or(std::string()));
  signature_ = signatureProvider_->signClearText(signatureBaseString(), secret);

  std::string tokenAttribute;
  if (token_.hasKey()) tokenAttribute = "oauth_token=\"" + URLEncodedString(*token_.key()) + "\", ";
  std::string extraAttributes;
  for (const auto& [name, value] : extraOAuthParameters_) {
    extraAttributes += ", " + URLEncodedString(name) + "=\"" + URLEncodedString(value) + "\"";
  }

  setValue("Authorization", "OAuth realm=\"" + URLEncodedString(realm_) +
                                "\", oauth_consumer_key=\"" + URLEncodedString(consumer_.key()) +
                                "\", " + tokenAttribute + "oauth_signature_method=\"" +
                                URLEncodedString(signatureProvider_->name()) +
                                "\", oauth_signature=\"" + URLEncodedString(signature_) +
                                "\", oauth_timestamp=\"" + timestamp_ + "\", oauth_nonce=\"" +
                                nonce_ + "\", oauth_version=\"1.0\"" + extraAttributes);
}
