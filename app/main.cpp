#include <iostream>
#include <string>
#include <vector>

#include "app/cli/CliApp.h"
#include "app/cli/CommandLine.h"
#include "platform/base/Log.h"
#include "platform/net/Initialize.h"

int main(int argc, char** argv) {
  // Before any thread (the demo site's server) starts.
  net::initialize();
  base::Log::enableFromEnvironment();

  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  std::optional<CommandLine> line = CommandLine::parse(args, error);
  if (!line) {
    std::cerr << "vemo: " << error << "\n\n" << CommandLine::usage();
    return 2;
  }
  return CliApp(std::cout, std::cerr).run(*line);
}
