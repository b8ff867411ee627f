#include "tests/support/SmtpSink.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

SmtpSink::SmtpSink(std::filesystem::path folder, std::vector<std::string> args)
    : folder_(std::move(folder)) {
  std::filesystem::create_directories(folder_);
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
  const std::string script = std::string(VEMO_SOURCE_DIR) + "/tests/support/smtp-sink.py";
  std::vector<std::string> argv = {"/usr/bin/python3", script, folder_.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[1]);
    close(out[0]);
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    execv(cargv[0], cargv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  stdin_ = in[1];
  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
  close(out[0]);
  port_ = line.empty() ? 0 : std::stoi(line);
  if (port_ == 0) throw std::runtime_error("the SMTP sink did not start (python3-aiosmtpd?)");
}

SmtpSink::~SmtpSink() {
  if (stdin_ >= 0) close(stdin_);  // the sink stops when its input closes
  if (pid_ > 0) {
    for (int i = 0; i < 50 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i) usleep(100000);
    if (waitpid(pid_, nullptr, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
}

std::vector<std::string> SmtpSink::messages() const {
  std::vector<std::string> out;
  for (int n = 1;; ++n) {
    std::ifstream file(folder_ / (std::to_string(n) + ".eml"), std::ios::binary);
    if (!file) break;
    std::ostringstream text;
    text << file.rdbuf();
    out.push_back(text.str());
  }
  return out;
}

}  // namespace testing_support
