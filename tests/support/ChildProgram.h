#pragma once
#include <sys/types.h>

#include <string>

namespace testing_support {

// A program started with its standard output on a pipe, whose first line is read at start (the
// sandbox announces its address there). Terminated when it goes, unless stopped before.
class ChildProgram {
 public:
  explicit ChildProgram(const char* path);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  const std::string& firstLine() const { return firstLine_; }
  // Sends SIGTERM and returns the wait status (-1 when it was not running).
  int stop();

 private:
  pid_t pid_ = -1;
  std::string firstLine_;
};

}  // namespace testing_support
