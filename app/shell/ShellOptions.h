#pragma once
#include <optional>
#include <string>
#include <vector>

// The command line of the window program and its headless commands:
//   vemo [--site URL] [--scale N]
//   vemo snapshot SCREEN [--style grid|list] [--landscape] [--index N] [--out FILE.png]
//   vemo demo-report [--out-dir DIR]
class ShellOptions {
 public:
  enum class Command { Window, Snapshot, DemoReport, Help };

  // Whether `args` (after the program name) belong to this command line rather than to the text
  // commands (menu, feed, saved).
  static bool handles(const std::vector<std::string>& args);
  // Reads the arguments; on a mistake returns nothing and sets `error`.
  static std::optional<ShellOptions> parse(const std::vector<std::string>& args,
                                           std::string& error);

  Command command = Command::Window;
  // Empty: the configuration file's site, else the demo site.
  std::string site;
  // Points to logical pixels of the window; 0 means 1 point per pixel at the monitor's scale.
  double scale = 0;
  bool log = false;

  // snapshot
  std::string screen;
  std::string style;  // "", "grid" or "list"
  bool landscape = false;
  int index = 0;
  std::string out = "vemo-snapshot.png";

  // demo-report
  std::string outDir;
};
