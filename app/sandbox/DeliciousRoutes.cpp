#include <httplib.h>

#include <memory>

#include "app/sandbox/SandboxOAuthProvider.h"
#include "app/sandbox/ServiceRoutes.h"

// Yahoo's OAuth service (verifier, session handles, PLAINTEXT token calls) and the Delicious
// bookmark call, which answers its result code in XML.
void addDeliciousRoutes(ServiceSandbox& sandbox) {
  auto provider = std::make_shared<SandboxOAuthProvider>(
      SandboxOAuthProvider::Options{"SHKDelicious", "oauth", "/oauth/v2/get_request_token",
                                    "/oauth/v2/request_auth", "/oauth/v2/get_token", true, true});
  provider->install(sandbox);
  sandbox.handle("SHKDelicious", "api", "GET", "/v2/posts/add",
                 [provider](const SandboxRequest& request, httplib::Response& response) {
                   SandboxOAuthProvider::Signed call;
                   if (!provider->verify(request, response, &call)) return;
                   bool hasUrl = false;
                   for (const auto& [name, value] : call.parameters) {
                     if (name == "url" && !value.empty()) hasUrl = true;
                   }
                   response.set_content(
                       hasUrl ? "<result code=\"done\" />\n" : "<result code=\"missing url\" />\n",
                       "text/xml");
                 });
}
