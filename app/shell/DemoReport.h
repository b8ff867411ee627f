#pragma once
#include <iosfwd>

#include "app/shell/ShellOptions.h"

// `vemo demo-report`: what the program shows without a display. Renders the screens of the site
// (the demo site unless --site is given) as snapshots, prints where they are and the home feed
// as text, and tells how to open the window.
class DemoReport {
 public:
  DemoReport(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  // 0 when every screen was written, 1 otherwise.
  int run(const ShellOptions& options);

 private:
  std::ostream& out_;
  std::ostream& err_;
};
