#pragma once
#include <filesystem>
#include <iosfwd>
#include <string>

#include "app/shell/ShellOptions.h"

// `vemo snapshot SCREEN`: starts the reader without a display, reaches SCREEN by tapping as a
// user would, and writes the screen as FILE.png with its view tree as FILE.json. Web views have
// no page renderer without a display: their area shows the view's own background, and the JSON
// lists each page's address and title under "webPages". A style chosen with --style is put back
// afterwards, so the stored choice stays the user's.
class SnapshotCommand {
 public:
  SnapshotCommand(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  // Returns the exit status: 0 when the screen was written, 1 when it could not be reached.
  int run(const ShellOptions& options);

  // The JSON file written beside `png`.
  static std::filesystem::path jsonPathFor(const std::filesystem::path& png);

 private:
  std::ostream& out_;
  std::ostream& err_;
};
