#include "app/ProgramModule.h"
#include "app/servers/LoopbackServers.h"

// The servers from the program's module, opened on the first call.
LoopbackServers* LoopbackServers::get(std::string& error) {
  static std::string failure;
  static LoopbackServers* const servers = [] {
    void* entry = ProgramModule::open("libvemo-servers.so", "vemo_loopback_servers", failure);
    return entry ? reinterpret_cast<LoopbackServers* (*)()>(entry)() : nullptr;
  }();
  if (!servers) error = failure;
  return servers;
}
