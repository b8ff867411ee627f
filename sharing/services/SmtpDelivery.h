#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "sharing/config/SHKServiceConfig.h"

// Hands one prebuilt message to an SMTP server through libcurl. Implicit TLS or STARTTLS is
// required (certificates checked); a plain connection is allowed only to this machine. Blocks:
// run it off the main thread.
class SmtpDelivery {
 public:
  struct Account {
    SHKServiceConfig::Mail mail;
    std::string password;
    // Longest wait for the connection and for each server answer.
    long timeoutSeconds = 30;
  };
  struct Result {
    bool ok = false;
    // Why it failed, with the server's answer when there was one.
    std::string error;
    // The server refused the user name and password.
    bool loginDenied = false;
  };

  static Result send(const Account& account, const std::string& from,
                     const std::vector<std::string>& recipients, std::string_view message);
};
