#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/CurlLibrary.h"
#include "app/cli/CliApp.h"
#include "app/cli/CommandLine.h"
#include "app/cli/QueueCommand.h"
#include "app/cli/ShareCommand.h"
#include "app/gui/RendererChoice.h"
#include "app/gui/WindowApp.h"
#include "app/shell/DemoReport.h"
#include "app/shell/ProgramConfig.h"
#include "app/shell/ShellOptions.h"
#include "app/shell/SnapshotCommand.h"
#include "platform/base/Localization.h"
#include "platform/base/Log.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "sharing/services/OAuthServices.h"
#include "sharing/services/SHKCopy.h"
#include "sharing/services/SHKFacebook.h"
#include "sharing/services/SHKMail.h"
#include "sharing/services/SHKPhotoAlbum.h"
#include "sharing/services/SHKSafari.h"
#include "sharing/services/WebServiceSharers.h"

namespace {

// The window and the headless screen commands.
int runShell(const std::vector<std::string>& args) {
  std::string error;
  std::optional<ShellOptions> options = ShellOptions::parse(args, error);
  if (!options) {
    std::cerr << "vemo: " << error << "\n\n" << CommandLine::usage();
    return 2;
  }
  if (options->log) base::Log::setEnabled(true);
  switch (options->command) {
    case ShellOptions::Command::Help:
      std::cout << CommandLine::usage();
      return 0;
    case ShellOptions::Command::Snapshot:
      return SnapshotCommand(std::cout, std::cerr).run(*options);
    case ShellOptions::Command::DemoReport:
      return DemoReport(std::cout, std::cerr).run(*options);
    case ShellOptions::Command::Window:
      break;
  }
  return WindowApp(std::cerr).run(*options);
}

}  // namespace

int main(int argc, char** argv) {
  // The locale and the environment are settled before any thread starts.
  base::initializeLocalization();
  RendererChoice::apply();
  // libcurl opens beside the rest of the start-up; its first use waits for it.
  CurlLibrary curl;
  base::Log::enableFromEnvironment();

  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  std::optional<ProgramConfig> config = ProgramConfig::extract(args, error);
  if (!config) {
    std::cerr << "vemo: " << error << "\n\n" << CommandLine::usage();
    return 2;
  }
  if (!config->apply(std::cerr)) return 2;
  // The share services this program has, by class name.
  registerOAuthServices();
  SHKFacebook::registerService();
  SHKMail::registerService();
  SHKCopy::registerService();
  SHKSafari::registerService();
  SHKPhotoAlbum::registerService();
  registerWebServiceSharers();
  SHKOfflineQueue::install();
  if (QueueCommand::handles(args)) return QueueCommand::run(args, std::cout, std::cerr);

  if (ShellOptions::handles(args)) return runShell(args);
  if (ShareCommand::handles(args)) {
    std::optional<ShareCommand> share = ShareCommand::parse(args, error);
    if (!share) {
      std::cerr << "vemo: " << error << "\n\n" << ShareCommand::usage();
      return 2;
    }
    return share->run(std::cin, std::cout, std::cerr, isatty(STDIN_FILENO));
  }
  std::optional<CommandLine> line = CommandLine::parse(args, error);
  if (!line) {
    std::cerr << "vemo: " << error << "\n\n" << CommandLine::usage();
    return 2;
  }
  return CliApp(std::cout, std::cerr).run(*line);
}
