#include "app/shell/ProgramConfig.h"

#include "app/servers/LoopbackServers.h"
#include "sharing/config/SHKServiceConfig.h"

ProgramConfig::ProgramConfig() = default;
ProgramConfig::~ProgramConfig() = default;
ProgramConfig::ProgramConfig(ProgramConfig&&) noexcept = default;
ProgramConfig& ProgramConfig::operator=(ProgramConfig&&) noexcept = default;

std::optional<ProgramConfig> ProgramConfig::extract(std::vector<std::string>& args,
                                                    std::string& error) {
  ProgramConfig config;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* into = arg == "--config"     ? &config.configFile
                        : arg == "--services" ? &config.services
                                              : nullptr;
    if (!into) {
      rest.push_back(arg);
      continue;
    }
    if (i + 1 == args.size() || args[i + 1].empty()) {
      error = arg + " needs a value";
      return std::nullopt;
    }
    *into = args[++i];
  }
  if (!config.services.empty() && config.services != "sandbox") {
    std::string problem;
    std::string address = SHKServiceConfig::hostAddress(config.services, problem);
    if (address.empty()) {
      error = "--services is \"sandbox\" or a sandbox's address such as http://127.0.0.1:8080; " +
              config.services + " " + problem;
      return std::nullopt;
    }
    config.services = address;
  }
  args = std::move(rest);
  return config;
}

bool ProgramConfig::apply(std::ostream& err) {
  SHKServiceConfig& shared = SHKServiceConfig::shared();
  std::vector<std::string> errors, warnings;
  bool named = !configFile.empty();
  bool ok = shared.load(named ? std::filesystem::path(configFile) : SHKServiceConfig::defaultPath(),
                        named, errors, warnings);
  for (const std::string& warning : warnings) err << "vemo: warning: " << warning << "\n";
  for (const std::string& error : errors) err << "vemo: " << error << "\n";
  if (!ok) return false;
  if (services == "sandbox") {
    std::string problem;
    LoopbackServers* servers = LoopbackServers::get(problem);
    if (!servers) {
      err << "vemo: could not start the service sandbox (" << problem << ")\n";
      return false;
    }
    sandbox_ = servers->makeSandbox();
    if (!sandbox_->start()) {
      err << "vemo: could not start the service sandbox\n";
      sandbox_.reset();
      return false;
    }
    shared.pointServicesAt(sandbox_->baseUrl());
    // Mail goes to the sandbox's SMTP sink, which takes it without a login.
    SHKServiceConfig::Mail mail;
    mail.server = "127.0.0.1";
    mail.port = sandbox_->mailPort();
    mail.security = SHKServiceConfig::Security::None;
    mail.sender = shared.mail().sender.empty() ? "vemo@sandbox.invalid" : shared.mail().sender;
    shared.setMail(std::move(mail));
    err << "vemo: share services go to the sandbox at " << sandbox_->baseUrl()
        << " (requests: " << sandbox_->baseUrl() << "/_sandbox/)\n";
  } else if (!services.empty()) {
    shared.pointServicesAt(services);
  }
  return true;
}
