#include "app/demo/DemoSite.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/servers/LoopbackServers.h"

namespace {

class InProcessServers : public LoopbackServers {
 public:
  std::unique_ptr<LoopbackSite> makeDemoSite() override { return std::make_unique<DemoSite>(); }
  std::unique_ptr<LoopbackSandbox> makeSandbox() override {
    return std::make_unique<ServiceSandbox>();
  }
};

}  // namespace

LoopbackServers* vemo_loopback_servers() {
  static InProcessServers servers;
  return &servers;
}
