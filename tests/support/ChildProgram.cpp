#include "tests/support/ChildProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

namespace testing_support {

ChildProgram::ChildProgram(std::vector<std::string> argv) {
  // Close-on-exec: other children must not hold this one's input open.
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  input_ = in[1];
  char c;
  while (pid_ > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') firstLine_ += c;
  close(out[0]);
}

int ChildProgram::stop() {
  if (input_ >= 0) close(std::exchange(input_, -1));
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(std::exchange(pid_, -1), &status, 0);
  return status;
}

}  // namespace testing_support
