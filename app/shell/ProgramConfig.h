#pragma once
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class LoopbackSandbox;

// The options every command of the program takes, taken out of the arguments before the command
// reads the rest:
//   --config FILE             read FILE instead of $XDG_CONFIG_HOME/vemo/vemo.conf
//   --services sandbox        start a service sandbox in this process and send every share
//                             service's every host to it
//   --services URL            send them to a sandbox already running at URL
class ProgramConfig {
 public:
  // On a mistake returns nothing and sets `error`.
  static std::optional<ProgramConfig> extract(std::vector<std::string>& args, std::string& error);

  ProgramConfig();
  ~ProgramConfig();
  ProgramConfig(ProgramConfig&&) noexcept;
  ProgramConfig& operator=(ProgramConfig&&) noexcept;

  // Reads the configuration file into SHKServiceConfig::shared() and points the services where
  // asked. Warnings and errors go to `err`, a line each; false on an error.
  bool apply(std::ostream& err);
  // The sandbox started by "--services sandbox", while the object lives.
  LoopbackSandbox* sandbox() const { return sandbox_.get(); }

  std::string configFile;  // empty: the default file
  std::string services;    // empty: the configured hosts

 private:
  std::unique_ptr<LoopbackSandbox> sandbox_;
};
