#pragma once
#include <iosfwd>
#include <string>

#include "app/cli/CommandLine.h"

class HTTPConnection;

// Runs one text command: loads the menu or a feed from the site (the demo site on loopback when
// none is given) or reads the saved stories, and prints them. Returns the process exit status:
// 0 on success, 1 when the download failed or gave nothing.
class CliApp {
 public:
  CliApp(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  int run(const CommandLine& line);

 private:
  int printMenu(const std::string& site, bool json);
  int printFeed(const std::string& site, const std::string& link, bool json);
  int printSaved(bool json);
  // The reason a download gave nothing, for the error message.
  static std::string failureReason(const HTTPConnection& connection, const char* what);

  std::ostream& out_;
  std::ostream& err_;
};
