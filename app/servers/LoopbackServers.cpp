#include "app/servers/LoopbackServers.h"

std::unique_ptr<LoopbackSite> LoopbackServers::startDemoSite(std::string& error) {
  LoopbackServers* servers = get(error);
  if (!servers) return nullptr;
  std::unique_ptr<LoopbackSite> site = servers->makeDemoSite();
  if (!site->start()) {
    error = "is the sample-site folder installed?";
    return nullptr;
  }
  return site;
}
