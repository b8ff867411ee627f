// vemo-sandbox [--port N]: the share services' sandbox as a program of its own.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "sharing/config/SHKServiceConfig.h"

namespace {

int usage(std::ostream& out, int status) {
  out << "Usage: vemo-sandbox [--port N]\n"
         "Serves every share service's hosts on http://127.0.0.1:PORT/<class name>/<host key>/\n"
         "and lists the requests it received at /_sandbox/ (JSON: /_sandbox/requests).\n"
         "OAuth signatures are checked with the consumer keys of vemo.conf, as vemo reads them.\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return usage(std::cout, 0);
    if (arg == "--port" && i + 1 < argc) {
      char* end = nullptr;
      long value = std::strtol(argv[++i], &end, 10);
      if (!end || *end != '\0' || value < 1 || value > 65535) {
        std::cerr << "vemo-sandbox: --port needs a number from 1 to 65535\n";
        return 2;
      }
      port = static_cast<int>(value);
    } else {
      std::cerr << "vemo-sandbox: unknown argument " << arg << "\n";
      return usage(std::cerr, 2);
    }
  }

  // The services' keys and callbacks as the program that talks to the sandbox has them, so that
  // the signatures it makes with configured keys are taken.
  std::vector<std::string> errors, warnings;
  bool loaded =
      SHKServiceConfig::shared().load(SHKServiceConfig::defaultPath(), false, errors, warnings);
  for (const std::string& warning : warnings)
    std::cerr << "vemo-sandbox: warning: " << warning << "\n";
  for (const std::string& error : errors) std::cerr << "vemo-sandbox: " << error << "\n";
  if (!loaded) return 2;

  // Stopped by SIGINT or SIGTERM, which are waited for here rather than handled.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  ServiceSandbox sandbox;
  if (!sandbox.start(port)) {
    std::cerr << "vemo-sandbox: cannot listen on 127.0.0.1"
              << (port ? ":" + std::to_string(port) : "") << "\n";
    return 1;
  }
  std::cout << "listening on " << sandbox.baseUrl() << std::endl;
  int signal = 0;
  sigwait(&stopSignals, &signal);
  sandbox.stop();
  return 0;
}
