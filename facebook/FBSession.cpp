#include "facebook/FBSession.h"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "facebook/FBRequest.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/WebCookieJar.h"

namespace {

constexpr const char* kUserIdKey = "FBUserId";
constexpr const char* kSessionKeyKey = "FBSessionKey";
constexpr const char* kSessionSecretKey = "FBSessionSecret";
constexpr const char* kExpiresKey = "FBSessionExpires";

std::weak_ptr<FBSession>& sharedSlot() {
  static std::weak_ptr<FBSession> slot;
  return slot;
}

// The saved user id: a number, or its decimal text; anything else counts as no id.
FBUid savedUid(const store::UserDefaults& defaults) {
  auto value = defaults.objectForKey(kUserIdKey);
  if (!value) return 0;
  if (auto number = value->view().asInteger()) return *number;
  if (auto text = value->view().asString()) {
    FBUid uid = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), uid);
    if (error == std::errc() && end == text->data() + text->size()) return uid;
  }
  return 0;
}

}  // namespace

std::shared_ptr<FBSession> FBSession::sessionForApplication(const std::string& key,
                                                            const std::string& secret,
                                                            FBSessionDelegate* delegate,
                                                            FBHosts hosts) {
  auto session = create(key, secret, std::nullopt, std::move(hosts));
  session->addDelegate(delegate);
  return session;
}

std::shared_ptr<FBSession> FBSession::sessionForApplicationWithProxy(const std::string& key,
                                                                     const std::string& proxy,
                                                                     FBSessionDelegate* delegate,
                                                                     FBHosts hosts) {
  auto session = create(key, std::nullopt, proxy, std::move(hosts));
  session->addDelegate(delegate);
  return session;
}

std::shared_ptr<FBSession> FBSession::create(std::string key, std::optional<std::string> secret,
                                             std::optional<std::string> getSessionProxy,
                                             FBHosts hosts) {
  std::shared_ptr<FBSession> session(new FBSession(std::move(key), std::move(secret),
                                                   std::move(getSessionProxy), std::move(hosts)));
  if (sharedSlot().expired()) sharedSlot() = session;
  return session;
}

std::shared_ptr<FBSession> FBSession::session() {
  return sharedSlot().lock();
}

void FBSession::setSession(const std::shared_ptr<FBSession>& session) {
  sharedSlot() = session;
}

FBSession::FBSession(std::string key, std::optional<std::string> secret,
                     std::optional<std::string> getSessionProxy, FBHosts hosts)
    : apiKey_(std::move(key)),
      apiSecret_(std::move(secret)),
      getSessionProxy_(std::move(getSessionProxy)),
      hosts_(std::move(hosts)) {}

FBSession::~FBSession() = default;

void FBSession::addDelegate(FBSessionDelegate* delegate) {
  if (delegate && std::find(delegates_.begin(), delegates_.end(), delegate) == delegates_.end())
    delegates_.push_back(delegate);
}

void FBSession::removeDelegate(FBSessionDelegate* delegate) {
  std::erase(delegates_, delegate);
}

std::string FBSession::apiURL() const {
  return FBHosts::restEndpoint(hosts_.api);
}

std::string FBSession::apiSecureURL() const {
  return FBHosts::secureRestEndpoint(hosts_.api);
}

std::string FBSession::videoURL() const {
  return FBHosts::restEndpoint(hosts_.video);
}

void FBSession::begin(FBUid uid, std::optional<std::string> sessionKey,
                      std::optional<std::string> sessionSecret,
                      std::optional<store::Date> expires) {
  uid_ = uid;
  sessionKey_ = std::move(sessionKey);
  sessionSecret_ = std::move(sessionSecret);
  expirationDate_ = expires;
  save();
}

bool FBSession::resume() {
  auto& defaults = store::UserDefaults::standard();
  FBUid uid = savedUid(defaults);
  if (uid == 0) return false;
  std::optional<store::Date> expires;
  if (auto saved = defaults.objectForKey(kExpiresKey)) {
    // An expiry that is not a date cannot be trusted to lie in the future.
    expires = saved->view().asDate();
    if (!expires || *expires <= std::chrono::system_clock::now()) return false;
  }
  // Without a session key there is no session to report as logged in.
  auto sessionKey = defaults.stringForKey(kSessionKeyKey);
  if (!sessionKey) return false;
  uid_ = uid;
  sessionKey_ = std::move(sessionKey);
  sessionSecret_ = defaults.stringForKey(kSessionSecretKey);
  expirationDate_ = expires;
  for (FBSessionDelegate* delegate : std::vector(delegates_))
    delegate->sessionDidLogin(*this, uid_);
  return true;
}

void FBSession::cancelLogin() {
  if (isConnected()) return;
  for (FBSessionDelegate* delegate : std::vector(delegates_)) delegate->sessionDidNotLogin(*this);
}

void FBSession::logout() {
  if (!sessionKey_) {
    deleteFacebookCookies();
    unsave();
    return;
  }
  for (FBSessionDelegate* delegate : std::vector(delegates_))
    delegate->sessionWillLogout(*this, uid_);
  deleteFacebookCookies();
  uid_ = 0;
  sessionKey_.reset();
  sessionSecret_.reset();
  expirationDate_.reset();
  unsave();
  for (FBSessionDelegate* delegate : std::vector(delegates_)) delegate->sessionDidLogout(*this);
}

void FBSession::save() {
  auto& defaults = store::UserDefaults::standard();
  if (uid_ != 0) {
    defaults.setInteger(uid_, kUserIdKey);
  } else {
    defaults.removeObjectForKey(kUserIdKey);
  }
  auto saveString = [&defaults](const std::optional<std::string>& value, const char* key) {
    if (value) {
      defaults.setString(*value, key);
    } else {
      defaults.removeObjectForKey(key);
    }
  };
  saveString(sessionKey_, kSessionKeyKey);
  saveString(sessionSecret_, kSessionSecretKey);
  if (expirationDate_) {
    defaults.setDate(*expirationDate_, kExpiresKey);
  } else {
    defaults.removeObjectForKey(kExpiresKey);
  }
  defaults.synchronize();
}

void FBSession::unsave() {
  auto& defaults = store::UserDefaults::standard();
  for (const char* key : {kUserIdKey, kSessionKeyKey, kSessionSecretKey, kExpiresKey})
    defaults.removeObjectForKey(key);
  defaults.synchronize();
}

void FBSession::deleteFacebookCookies() {
  // Both jars: the program's own and the web views' (the log-in pages set the session cookies).
  ui::WebCookieJar::shared().deleteCookiesForDomain(hosts_.cookieDomain);
}

void FBSession::send(const std::shared_ptr<FBRequest>& request) {
  // Requests go out in the order they were sent: none passes those already waiting.
  if (!requestQueue_.empty()) {
    enqueueRequest(request);
    return;
  }
  performRequest(request, true);
}

bool FBSession::performRequest(const std::shared_ptr<FBRequest>& request, bool enqueue) {
  double now = base::RunLoop::main().now();
  // Requests at the very same moment as the burst's first one count towards it too.
  bool inBurst = lastRequestTime_ && now - *lastRequestTime_ < kBurstSeconds;
  if (inBurst && ++requestBurstCount_ > kRequestsPerBurst) {
    if (enqueue) enqueueRequest(request);
    return false;
  }
  request->connect();
  if (!inBurst) {
    requestBurstCount_ = 1;
    lastRequestTime_ = request->timestamp();
  }
  return true;
}

bool FBSession::dequeueRequest(const FBRequest& request) {
  auto it = std::find_if(requestQueue_.begin(), requestQueue_.end(),
                         [&request](const auto& queued) { return queued.get() == &request; });
  if (it == requestQueue_.end()) return false;
  requestQueue_.erase(it);
  return true;
}

void FBSession::enqueueRequest(const std::shared_ptr<FBRequest>& request) {
  requestQueue_.push_back(request);
  startFlushTimer();
}

void FBSession::startFlushTimer() {
  if (requestTimer_.scheduled()) return;
  double sinceBurst = lastRequestTime_ ? base::RunLoop::main().now() - *lastRequestTime_ : 0;
  requestTimer_ =
      base::Timer::once(std::max(0.0, kBurstSeconds - sinceBurst), [this] { requestTimerReady(); });
}

void FBSession::requestTimerReady() {
  requestTimer_ = base::Timer();
  flushRequestQueue();
}

void FBSession::flushRequestQueue() {
  while (!requestQueue_.empty()) {
    std::shared_ptr<FBRequest> request = requestQueue_.front();
    if (!performRequest(request, false)) {
      startFlushTimer();
      return;
    }
    // Sending may have reported a failure whose handler changed the queue.
    std::erase(requestQueue_, request);
  }
}
