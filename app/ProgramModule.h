#pragma once
#include <string>

// The program's own shared modules, opened with dlopen when first needed, so that the libraries
// they need load then rather than before the program starts. A module binds to the code the
// program exports, so both share one copy of it.
class ProgramModule {
 public:
  // The module's file: next to the program (the build tree), else in the library folder installed
  // with it (found relative to the program, then at the configured prefix); empty when none holds
  // it.
  static std::string file(const std::string& name);
  // Opens the module `name` for the life of the process, bound at once so that a module not
  // matching the program fails here rather than at a later call, and returns its function
  // `entry`. Null when it cannot, with the reason in `error`.
  static void* open(const std::string& name, const char* entry, std::string& error);
};
