#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace testing_support {

// A program started with its standard output on a pipe, whose first line is read at start (the
// sandbox announces its address there), and its standard input on a pipe held open while it
// runs, so a program that reads its input to the end stops however the test process ends.
// Terminated when it goes, unless stopped before.
class ChildProgram {
 public:
  explicit ChildProgram(const char* path) : ChildProgram(std::vector<std::string>{path}) {}
  // `argv[0]` is the program's path.
  explicit ChildProgram(std::vector<std::string> argv);
  ~ChildProgram() { stop(); }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  const std::string& firstLine() const { return firstLine_; }
  // Closes its input, sends SIGTERM and returns the wait status (-1 when it was not running).
  int stop();

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  std::string firstLine_;
};

}  // namespace testing_support
