#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProgram.h"

namespace testing_support {

// Debian's aiosmtpd on 127.0.0.1 at a free port (tests/support/smtp-sink.py), keeping each
// message it accepts as a file. Stopped when destroyed.
class SmtpSink {
 public:
  // `args`: extra options of the script (--user, --password, --refuse-rcpt).
  SmtpSink(std::filesystem::path folder, std::vector<std::string> args = {});
  ~SmtpSink() = default;

  int port() const { return port_; }
  // The messages received so far, in order, as the server got them (with the envelope as
  // "X-Envelope-From" and "X-Envelope-To" lines first).
  std::vector<std::string> messages() const;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<ChildProgram> program_;  // stops when its input closes
  int port_ = 0;
};

}  // namespace testing_support
