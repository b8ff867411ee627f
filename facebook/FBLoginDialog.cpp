#include "facebook/FBLoginDialog.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

#include "facebook/FBRequest.h"
#include "facebook/FBSession.h"

namespace {

constexpr double kMaxSeconds = 1e12;

const FBValue& memberOf(const FBValue& result, std::string_view key) {
  return result.member(key);
}

std::optional<std::string> textOf(const FBValue& value) {
  if (const std::string* text = value.string()) return *text;
  return std::nullopt;
}

}  // namespace

FBLoginDialog::FBLoginDialog(std::shared_ptr<FBSession> session) : FBDialog(std::move(session)) {}

FBLoginDialog::~FBLoginDialog() {
  if (getSessionRequest_) getSessionRequest_->setDelegate(nullptr);
}

std::optional<std::string> FBLoginDialog::authToken(std::string_view url) {
  size_t query = url.find('?');
  if (query == std::string_view::npos) return std::nullopt;
  std::string_view rest = url.substr(query + 1);
  size_t hash = rest.find('#');
  if (hash != std::string_view::npos) rest = rest.substr(0, hash);
  constexpr std::string_view kKey = "auth_token=";
  size_t at = rest.find(kKey);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view token = rest.substr(at + kKey.size());
  token = token.substr(0, token.find('&'));
  if (token.empty()) return std::nullopt;
  return std::string(token);
}

void FBLoginDialog::loadLoginPage() {
  if (!session()) return;
  loadURL(session()->hosts().web + "/login.php", "GET",
          {{"fbdialog", "1"},
           {"connect_display", "touch"},
           {"api_key", session()->apiKey()},
           {"next", "fbdialog://success"}},
          {});
}

void FBLoginDialog::dialogDidSucceed(const net::Url& url) {
  // Without a token the page has not logged anyone in: the panel stays.
  if (std::optional<std::string> token = authToken(url.absoluteString())) {
    connectToGetSession(*token);
  }
}

void FBLoginDialog::connectToGetSession(const std::string& token) {
  if (!session() || getSessionRequest_) return;
  getSessionRequest_ = FBRequest::requestWithSession(session(), this);
  FBRequest::Params params{{"auth_token", token}};
  if (!session()->apiSecret()) params["generate_session_secret"] = "1";
  if (session()->getSessionProxy()) {
    getSessionRequest_->post(*session()->getSessionProxy(), params);
  } else {
    getSessionRequest_->call("facebook.auth.getSession", params);
  }
}

void FBLoginDialog::requestDidLoad(FBRequest&, const FBValue& result) {
  auto keep = shared_from_this();
  getSessionRequest_.reset();
  std::optional<std::string> sessionKey = textOf(memberOf(result, "session_key"));
  if (!sessionKey || sessionKey->empty()) {
    dismissWithError(net::Error("facebook", 1, "The log-in answer holds no session"), true);
    return;
  }
  FBUid uid = 0;
  if (std::optional<std::string> text = textOf(memberOf(result, "uid"))) {
    std::from_chars(text->data(), text->data() + text->size(), uid);
  }
  // Seconds since 1970 as a double: a single-precision value is minutes off for today's dates.
  std::optional<store::Date> expires;
  if (std::optional<std::string> text = textOf(memberOf(result, "expires"))) {
    double seconds = 0;
    auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (ec == std::errc() && std::isfinite(seconds) && seconds != 0) {
      // Beyond some 30 000 years either way the date cannot be held; such an answer is odd.
      seconds = std::clamp(seconds, -kMaxSeconds, kMaxSeconds);
      expires = store::Date(std::chrono::duration_cast<store::Date::duration>(
          std::chrono::duration<double>(seconds)));
    }
  }
  session()->begin(uid, sessionKey, textOf(memberOf(result, "secret")), expires);
  session()->resume();
  dismissWithSuccess(true, true);
}

void FBLoginDialog::requestDidFailWithError(FBRequest&, const FBError& error) {
  getSessionRequest_.reset();
  dismissWithError(net::Error(error.domain, error.code, error.description), true);
}

void FBLoginDialog::dialogWillDisappear() {
  webView().stringByEvaluatingJavaScriptFromString("email.blur();");
  if (auto request = std::move(getSessionRequest_)) {
    request->setDelegate(nullptr);
    request->cancel();
  }
  if (session() && !session()->isConnected()) session()->cancelLogin();
}
