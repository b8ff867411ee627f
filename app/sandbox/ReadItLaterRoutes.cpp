// Read It Later in the sandbox: logins take any password but "wrong" (401 otherwise); a send
// checks that "new" and "update_tags" are JSON, and answers a link's "sandbox-status" with that
// status. Every refusal carries its reason in "X-Error", as the service does.
#include <httplib.h>

#include <nlohmann/json.hpp>

#include "app/sandbox/FormFields.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/sandbox/StatusFromLink.h"

namespace {

void refuse(httplib::Response& response, int status, const std::string& reason) {
  response.status = status;
  response.set_header("X-Error", reason);
  response.set_content(std::to_string(status), "text/plain");
}

bool isJsonObject(const std::string& text) {
  auto parsed = nlohmann::json::parse(text, nullptr, false);
  return !parsed.is_discarded() && parsed.is_object();
}

}  // namespace

void addReadItLaterRoutes(ServiceSandbox& sandbox) {
  sandbox.handle("SHKReadItLater", "api", "POST", "/v2/auth",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   if (!ServiceSandbox::acceptsLogin(fields["password"])) {
                     refuse(response, 401, "Username and/or password is incorrect");
                     return;
                   }
                   response.set_content("200 OK", "text/plain");
                 });
  sandbox.handle("SHKReadItLater", "api", "POST", "/v2/send",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   if (!ServiceSandbox::acceptsLogin(fields["password"])) {
                     refuse(response, 401, "Username and/or password is incorrect");
                     return;
                   }
                   if (!isJsonObject(fields["new"]) ||
                       (fields.contains("update_tags") && !isJsonObject(fields["update_tags"]))) {
                     refuse(response, 400, "Invalid JSON");
                     return;
                   }
                   auto status = statusFromLink(fields["new"]);
                   if (status && *status != 200) {
                     refuse(response, *status, "Sandbox error " + std::to_string(*status));
                     return;
                   }
                   response.set_content("200 OK", "text/plain");
                 });
}
