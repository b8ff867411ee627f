#include "app/cli/CommandLine.h"

#include "app/cli/ShareCommand.h"

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
  return "Usage: vemo [--site URL] [--scale N]\n"
         "       vemo snapshot SCREEN [--style grid|list] [--landscape] [--index N]\n"
         "                            [--out FILE.png] [--site URL]\n"
         "       vemo demo-report [--out-dir DIR] [--site URL]\n"
         "       vemo menu|feed [LINK]|saved [--json] [--site URL]\n"
         "\n"
         "With no command, opens the reader's window: a 320 x 480 point screen (480 x 320\n"
         "when turned). Click to tap, drag or use the wheel to scroll, Left/Right to page the\n"
         "lead reader, Escape or Alt+Left to go back, Ctrl+Left / Ctrl+Right to turn the device.\n"
         "\n"
         "Commands (no display needed):\n"
         "  snapshot SCREEN  render one screen, reached by tapping as a user would, to a PNG\n"
         "                   and its view tree to a JSON file beside it. SCREEN is one of:\n"
         "                   home, categories (the menu), subcategories (of category N),\n"
         "                   stories (of category N), lead (home story N in the lead reader),\n"
         "                   article (home story N's page), saved\n"
         "  demo-report      render every screen of the site, print where the pictures are and\n"
         "                   the home feed as text\n"
         "  menu             print the site's categories and their sub-categories\n"
         "  feed [LINK]      print the stories of the home feed, or of the feed at LINK\n"
         "                   (an absolute address or a path on the site)\n"
         "  saved            print the saved stories, in their stored order\n"
         "\n" +
         ShareCommand::usage() +
         "\n"
         "Options:\n"
         "  --site URL       the news site (default: 'site = URL' in\n"
         "                   $XDG_CONFIG_HOME/vemo/vemo.conf for the window and the screens,\n"
         "                   else the demo site on loopback)\n"
         "  --scale N        window zoom, 0.5 to 4 (default 1 point per pixel; HiDPI monitors\n"
         "                   get sharp pixels at their own scale)\n"
         "  --style S        snapshot: grid or list (default: the stored choice; the stored\n"
         "                   choice is left as it was)\n"
         "  --landscape      snapshot: turn the device to landscape first\n"
         "  --index N        snapshot: the category or story number, from 0 (default 0)\n"
         "  --out FILE.png   snapshot: the picture to write (default vemo-snapshot.png)\n"
         "  --out-dir DIR    demo-report: where the pictures go (default: a new temporary folder)\n"
         "  --json           menu, feed, saved: print JSON instead of text\n"
         "  --config FILE    read FILE instead of $XDG_CONFIG_HOME/vemo/vemo.conf\n"
         "  --services sandbox\n"
         "                   start a service sandbox on a loopback port and send every share\n"
         "                   service to it (its requests are listed at /_sandbox/ there)\n"
         "  --services URL   send every share service to a sandbox running at URL\n"
         "                   (vemo-sandbox prints it: http://127.0.0.1:PORT)\n"
         "  --log            write diagnostic lines to standard error (also VEMO_LOG=1)\n"
         "  --help           print this help\n";
}
