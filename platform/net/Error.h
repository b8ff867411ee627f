#pragma once
#include <string>
#include <utility>

namespace net {

// Outcome of a load. Code 0 means no error. Transport failures use the domain "net" and the
// codes below (the platform's URL error codes).
class Error {
 public:
  static constexpr const char* kDomain = "net";
  enum Code : long {
    None = 0,
    Unknown = -1,
    Cancelled = -999,
    BadURL = -1000,
    TimedOut = -1001,
    UnsupportedURL = -1002,
    CannotFindHost = -1003,
    CannotConnectToHost = -1004,
    NetworkConnectionLost = -1005,
    HTTPTooManyRedirects = -1007,
    BadServerResponse = -1011,
    DataLengthExceedsMaximum = -1103,
    SecureConnectionFailed = -1200,
    ServerCertificateUntrusted = -1202,
    FileDoesNotExist = -1100,
    // A page load cut short because the navigation was refused (a redirect caught by the app).
    FrameLoadInterrupted = 102,
  };

  Error() = default;
  Error(std::string domain, long code, std::string description)
      : domain_(std::move(domain)), code_(code), description_(std::move(description)) {}

  const std::string& domain() const { return domain_; }
  long code() const { return code_; }
  // A readable sentence, e.g. "Could not connect to 127.0.0.1: Connection refused".
  const std::string& description() const { return description_; }
  bool ok() const { return code_ == 0; }
  explicit operator bool() const { return code_ != 0; }

 private:
  std::string domain_;
  long code_ = 0;
  std::string description_;
};

}  // namespace net
