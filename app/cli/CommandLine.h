#pragma once
#include <optional>
#include <string>
#include <vector>

// The parsed command line of the text commands: vemo menu|feed [LINK]|saved [options].
class CommandLine {
 public:
  enum class Command { Menu, Feed, Saved, Help };

  // Reads the arguments after the program name. On a mistake returns nothing and sets `error`.
  static std::optional<CommandLine> parse(const std::vector<std::string>& args, std::string& error);
  // The program's one usage text, for every command (the window's and the screens' too).
  static std::string usage();

  Command command = Command::Help;
  // The feed to read: an absolute address or a path on the site; empty for the home feed.
  std::string link;
  // The site's base address; empty to serve the demo site.
  std::string site;
  bool json = false;
  bool log = false;
};
