#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The sharing commands, run headless with the same share services as the window:
//   vemo share SERVICE (--url URL | --text TEXT | --image FILE | --file FILE [--mime TYPE])
//              [--title T] [--tags T] [--field KEY=VALUE]...
//   vemo logout [SERVICE]
//   vemo services
// A share asks for missing login fields on the terminal (one line each from standard input when
// it is not a terminal; the end of input cancels), fills the share form from the options and
// prints the progress and outcome texts. Exit status: 0 shared, 1 failed, 2 usage error or
// unknown service, 3 cancelled or nothing done.
class ShareCommand {
 public:
  enum class Command { Share, Logout, Services };
  enum class Content { URL, Text, Image, File };

  static bool handles(const std::vector<std::string>& args);
  // On a mistake returns nothing and sets `error`.
  static std::optional<ShareCommand> parse(const std::vector<std::string>& args,
                                           std::string& error);
  static std::string usage();

  // `interactive`: standard input is a terminal (prompts are shown, passwords not echoed).
  int run(std::istream& in, std::ostream& out, std::ostream& err, bool interactive) const;

  Command command = Command::Services;
  std::string service;  // empty for "logout" of all
  Content content = Content::URL;
  std::string value;  // the address, text or file path
  std::optional<std::string> mime;
  std::optional<std::string> title;
  std::optional<std::string> tags;
  std::vector<std::pair<std::string, std::string>> fields;

 private:
  int share(std::istream& in, std::ostream& out, std::ostream& err, bool interactive) const;
};
