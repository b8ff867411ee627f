#pragma once
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "facebook/FBHosts.h"
#include "facebook/FBSessionDelegate.h"
#include "platform/base/RunLoop.h"
#include "platform/store/PlistView.h"

class FBRequest;

// The application's Facebook session: its API key and secret (or the address of a server that
// exchanges log-in tokens for sessions), the logged-in user's session, kept in the user defaults
// across launches, and the pacing of outgoing calls: at most three per two-second burst, later
// ones wait in a queue that a timer sends in order. Use on the main thread.
class FBSession {
 public:
  // Seconds that a burst lasts, and the calls allowed in one.
  static constexpr double kBurstSeconds = 2.0;
  static constexpr int kRequestsPerBurst = 3;

  static std::shared_ptr<FBSession> sessionForApplication(const std::string& key,
                                                          const std::string& secret,
                                                          FBSessionDelegate* delegate,
                                                          FBHosts hosts = {});
  static std::shared_ptr<FBSession> sessionForApplicationWithProxy(const std::string& key,
                                                                   const std::string& proxy,
                                                                   FBSessionDelegate* delegate,
                                                                   FBHosts hosts = {});
  // The first session made becomes the shared one, until it is destroyed.
  static std::shared_ptr<FBSession> create(std::string key, std::optional<std::string> secret,
                                           std::optional<std::string> getSessionProxy,
                                           FBHosts hosts = {});

  // The shared session, or nothing.
  static std::shared_ptr<FBSession> session();
  static void setSession(const std::shared_ptr<FBSession>& session);

  ~FBSession();
  FBSession(const FBSession&) = delete;
  FBSession& operator=(const FBSession&) = delete;

  // Delegates are not owned; remove one before it goes away.
  void addDelegate(FBSessionDelegate* delegate);
  void removeDelegate(FBSessionDelegate* delegate);
  const std::vector<FBSessionDelegate*>& delegates() const { return delegates_; }

  const std::string& apiKey() const { return apiKey_; }
  const std::optional<std::string>& apiSecret() const { return apiSecret_; }
  const std::optional<std::string>& getSessionProxy() const { return getSessionProxy_; }
  FBUid uid() const { return uid_; }
  const std::optional<std::string>& sessionKey() const { return sessionKey_; }
  const std::optional<std::string>& sessionSecret() const { return sessionSecret_; }
  // Nothing for a session that does not expire.
  const std::optional<store::Date>& expirationDate() const { return expirationDate_; }
  bool isConnected() const { return sessionKey_.has_value(); }

  const FBHosts& hosts() const { return hosts_; }
  std::string apiURL() const;
  std::string apiSecureURL() const;
  // The REST endpoint for video uploads.
  std::string videoURL() const;

  // Takes a session (from the log-in) and saves it; the delegates hear nothing yet.
  void begin(FBUid uid, std::optional<std::string> sessionKey,
             std::optional<std::string> sessionSecret, std::optional<store::Date> expires);
  // Restores the saved session unless it expired, and tells the delegates about the log-in.
  bool resume();
  // Tells the delegates that no log-in happened, unless the session is connected.
  void cancelLogin();
  // Ends the session: delegates hear about it (when there was one), the site's cookies go, and
  // the saved session is removed.
  void logout();
  void save();
  void unsave();
  // Removes the cookies of the Facebook domain, for every host under it, secure ones included.
  void deleteFacebookCookies();

  // Sends a request now, or queues it behind the requests already waiting.
  void send(const std::shared_ptr<FBRequest>& request);
  // Sends a request unless the current burst is full; a refused request joins the queue when
  // `enqueue` is true. Returns whether it was sent.
  bool performRequest(const std::shared_ptr<FBRequest>& request, bool enqueue);
  // Takes a waiting request out of the queue; false when it was not there.
  bool dequeueRequest(const FBRequest& request);
  std::size_t queuedRequestCount() const { return requestQueue_.size(); }

 private:
  FBSession(std::string key, std::optional<std::string> secret,
            std::optional<std::string> getSessionProxy, FBHosts hosts);
  void enqueueRequest(const std::shared_ptr<FBRequest>& request);
  void startFlushTimer();
  void requestTimerReady();
  void flushRequestQueue();

  std::vector<FBSessionDelegate*> delegates_;
  std::string apiKey_;
  std::optional<std::string> apiSecret_;
  std::optional<std::string> getSessionProxy_;
  FBHosts hosts_;
  FBUid uid_ = 0;
  std::optional<std::string> sessionKey_;
  std::optional<std::string> sessionSecret_;
  std::optional<store::Date> expirationDate_;
  std::deque<std::shared_ptr<FBRequest>> requestQueue_;
  // Run-loop time of the first request of the current burst.
  std::optional<double> lastRequestTime_;
  int requestBurstCount_ = 0;
  base::Timer requestTimer_;
};
