#pragma once
#include <iosfwd>

#include "app/shell/ShellOptions.h"

// `vemo` with no command: the reader in a desktop window, until the window is closed. Needs a
// display; without one it says so and points at the headless commands. The renderer's environment
// (RendererChoice) is set by main() before GTK starts.
class WindowApp {
 public:
  explicit WindowApp(std::ostream& err) : err_(err) {}
  int run(const ShellOptions& options);

 private:
  std::ostream& err_;
};
