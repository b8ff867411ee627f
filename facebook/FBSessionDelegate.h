#pragma once
#include <cstdint>

class FBSession;

// A Facebook user id (64-bit: ids above 2^53 exist and are kept exactly).
using FBUid = std::int64_t;

// Hears about a session's log-in and log-out. Only the log-in report is required.
class FBSessionDelegate {
 public:
  virtual ~FBSessionDelegate() = default;
  virtual void sessionDidLogin(FBSession& session, FBUid uid) = 0;
  virtual void sessionDidNotLogin(FBSession&) {}
  virtual void sessionWillLogout(FBSession&, FBUid) {}
  virtual void sessionDidLogout(FBSession&) {}
};
