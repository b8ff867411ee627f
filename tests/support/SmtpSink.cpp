#include "tests/support/SmtpSink.h"

#include <cstdlib>
#include <stdexcept>

#include "tests/support/TempDir.h"

namespace testing_support {

SmtpSink::SmtpSink(std::filesystem::path folder, std::vector<std::string> args)
    : folder_(std::move(folder)) {
  std::filesystem::create_directories(folder_);
  args.insert(args.begin(),
              {"/usr/bin/python3", std::string(VEMO_SOURCE_DIR) + "/tests/support/smtp-sink.py",
               folder_.string()});
  program_ = std::make_unique<ChildProgram>(std::move(args));
  port_ = std::atoi(program_->firstLine().c_str());
  if (port_ == 0) throw std::runtime_error("the SMTP sink did not start (python3-aiosmtpd?)");
}

std::vector<std::string> SmtpSink::messages() const {
  std::vector<std::string> out;
  for (int n = 1; std::filesystem::exists(folder_ / (std::to_string(n) + ".eml")); ++n)
    out.push_back(readFile(folder_ / (std::to_string(n) + ".eml")));
  return out;
}

}  // namespace testing_support
