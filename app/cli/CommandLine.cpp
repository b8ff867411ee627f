#include "app/cli/CommandLine.h"

std::optional<CommandLine> CommandLine::parse(const std::vector<std::string>& args,
                                              std::string& error) {
  CommandLine line;
  std::optional<std::string> command;
  std::vector<std::string> operands;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      line.command = Command::Help;
      return line;
    } else if (arg == "--json") {
      line.json = true;
    } else if (arg == "--log") {
      line.log = true;
    } else if (arg == "--site" || arg.starts_with("--site=")) {
      if (arg == "--site") {
        if (i + 1 == args.size()) {
          error = "--site needs an address";
          return std::nullopt;
        }
        line.site = args[++i];
      } else {
        line.site = arg.substr(7);
      }
      while (line.site.ends_with('/')) line.site.pop_back();
      if (line.site.empty()) {
        error = "--site needs an address";
        return std::nullopt;
      }
    } else if (arg.starts_with("-") && arg != "-") {
      error = "unknown option " + arg;
      return std::nullopt;
    } else if (!command) {
      command = arg;
    } else {
      operands.push_back(arg);
    }
  }
  if (!command) {
    error = "no command given";
    return std::nullopt;
  }
  size_t allowed = 0;
  if (*command == "menu") {
    line.command = Command::Menu;
  } else if (*command == "feed") {
    line.command = Command::Feed;
    allowed = 1;
  } else if (*command == "saved") {
    line.command = Command::Saved;
  } else if (*command == "help") {
    line.command = Command::Help;
    return line;
  } else {
    error = "unknown command " + *command;
    return std::nullopt;
  }
  if (operands.size() > allowed) {
    error = "unexpected argument " + operands[allowed];
    return std::nullopt;
  }
  if (!operands.empty()) line.link = operands[0];
  return line;
}

std::string CommandLine::usage() {
  return "Usage: vemo COMMAND [options]\n"
         "\n"
         "Commands:\n"
         "  menu         print the site's categories and their sub-categories\n"
         "  feed [LINK]  print the stories of the home feed, or of the feed at LINK\n"
         "               (an absolute address or a path on the site)\n"
         "  saved        print the saved stories, in their stored order\n"
         "\n"
         "Options:\n"
         "  --site URL   the news site (default: the demo site, served on loopback)\n"
         "  --json       print JSON instead of text\n"
         "  --log        write diagnostic lines to standard error (also VEMO_LOG=1)\n"
         "  --help       print this help\n";
}
