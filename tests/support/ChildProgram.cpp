#include "tests/support/ChildProgram.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

ChildProgram::ChildProgram(const char* path) {
  int out[2];
  if (pipe(out) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    execl(path, path, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char c;
  while (pid_ > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') firstLine_ += c;
  close(out[0]);
}

ChildProgram::~ChildProgram() {
  stop();
}

int ChildProgram::stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return status;
}

}  // namespace testing_support
