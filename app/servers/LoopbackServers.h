#pragma once
#include <memory>
#include <string>

#include "app/servers/LoopbackSandbox.h"
#include "app/servers/LoopbackSite.h"

// Makes the loopback servers the program can run in-process: the demo news site and the share
// services' sandbox. The program keeps them, with the HTTP server library and the TLS and
// compression libraries it needs, in a module of its own (libvemo-servers.so) opened on first
// use, so that none of them loads before the program starts; tests and tools link them in.
class LoopbackServers {
 public:
  virtual ~LoopbackServers() = default;

  // The servers, or null when the module cannot be opened (then `error` says why).
  static LoopbackServers* get(std::string& error);
  // The demo site, started; null when it cannot be served, with the reason in `error`.
  static std::unique_ptr<LoopbackSite> startDemoSite(std::string& error);

  // The demo site, served from the installed sample-site folder.
  virtual std::unique_ptr<LoopbackSite> makeDemoSite() = 0;
  virtual std::unique_ptr<LoopbackSandbox> makeSandbox() = 0;
};

// The servers' entry point, looked up by this name once the module is open.
extern "C" LoopbackServers* vemo_loopback_servers();
