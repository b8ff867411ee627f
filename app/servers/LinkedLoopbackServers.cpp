#include "app/servers/LoopbackServers.h"

// The servers linked into this program.
LoopbackServers* LoopbackServers::get(std::string&) {
  return vemo_loopback_servers();
}
