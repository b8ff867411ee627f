// Instapaper in the sandbox: a login that takes any password but "wrong" (403 otherwise) and an
// add endpoint that answers 201 (403 for the password "wrong"), or the status a link asks for.
#include <httplib.h>

#include "app/sandbox/FormFields.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/sandbox/StatusFromLink.h"

void addInstapaperRoutes(ServiceSandbox& sandbox) {
  sandbox.handle("SHKInstapaper", "api", "POST", "/api/authenticate",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   bool accepted = ServiceSandbox::acceptsLogin(fields["password"]);
                   response.status = accepted ? 200 : 403;
                   response.set_content(accepted ? "200" : "403", "text/plain");
                 });
  sandbox.handle("SHKInstapaper", "api", "POST", "/api/add",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   int status = ServiceSandbox::acceptsLogin(fields["password"]) ? 201 : 403;
                   response.status = statusFromLink(fields["url"]).value_or(status);
                   response.set_content(std::to_string(response.status), "text/plain");
                 });
}
