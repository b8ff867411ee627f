#include <httplib.h>

#include <memory>
#include <mutex>
#include <set>

#include "app/sandbox/SandboxOAuthProvider.h"
#include "app/sandbox/ServiceRoutes.h"

// Twitter's OAuth endpoints on its web site (the callback is the registered one) and the status
// update, which answers JSON: the status, or {"error": …}. A nonce used twice is refused as
// Twitter does.
void addTwitterRoutes(ServiceSandbox& sandbox) {
  auto provider = std::make_shared<SandboxOAuthProvider>(
      SandboxOAuthProvider::Options{"SHKTwitter", "web", "/oauth/request_token", "/oauth/authorize",
                                    "/oauth/access_token", false, false});
  provider->install(sandbox);
  struct Seen {
    std::mutex mutex;
    std::set<std::string> nonces;
    unsigned long next = 1;
  };
  auto seen = std::make_shared<Seen>();
  sandbox.handle(
      "SHKTwitter", "api", "POST", "/1/statuses/update.json",
      [provider, seen](const SandboxRequest& request, httplib::Response& response) {
        SandboxOAuthProvider::Signed call;
        if (!provider->verify(request, response, &call)) return;
        std::lock_guard lock(seen->mutex);
        if (!seen->nonces.insert(call.oauth["oauth_nonce"]).second) {
          response.status = 401;
          response.set_content(
              "{\"request\":\"/1/statuses/update.json\",\"error\":\"Invalid / used nonce\"}",
              "application/json");
          return;
        }
        std::string status;
        for (const auto& [name, value] : call.parameters) {
          if (name == "status") status = value;
        }
        if (status.empty()) {
          response.status = 403;
          response.set_content(
              "{\"request\":\"/1/statuses/update.json\",\"error\":\"Status is empty.\"}",
              "application/json");
          return;
        }
        response.set_content("{\"id\":" + std::to_string(seen->next++) + "}", "application/json");
      });
}
