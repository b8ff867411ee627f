#include "tests/support/OAuthlibCheck.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

std::string oauthlibCheck(const std::string& baseUrl, const std::string& consumers,
                          const std::string& tokenPaths) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return "pipe failed";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::execl("/usr/bin/python3", "python3", VEMO_OAUTHLIB_CHECK_SCRIPT, baseUrl.c_str(),
            consumers.c_str(), tokenPaths.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string out;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  ::close(fds[0]);
  ::waitpid(pid, nullptr, 0);
  return out;
}

}  // namespace testing_support
