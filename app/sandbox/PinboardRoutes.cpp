// Pinboard in the sandbox: the API reads the login from the address's user information (sent
// as Basic authorization) and answers "401 Forbidden" with status 401 for a missing login or the
// password "wrong"; adding a post answers the quoted "done", or the status a link asks for with
// an error code.
#include <httplib.h>

#include "app/sandbox/BasicAuth.h"
#include "app/sandbox/FormFields.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/sandbox/StatusFromLink.h"

namespace {

bool refuse(const SandboxRequest& request, httplib::Response& response) {
  auto login = basicAuth(request);
  if (login && ServiceSandbox::acceptsLogin(login->second)) return false;
  response.status = 401;
  response.set_content("401 Forbidden", "text/plain");
  return true;
}

}  // namespace

void addPinboardRoutes(ServiceSandbox& sandbox) {
  sandbox.handle("SHKPinboard", "api", "GET", "/v1/posts/get",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   if (refuse(request, response)) return;
                   response.set_content(
                       "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<posts user=\"" +
                           basicAuth(request)->first + "\"></posts>\n",
                       "text/xml");
                 });
  sandbox.handle("SHKPinboard", "api", "GET", "/v1/posts/add",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   if (refuse(request, response)) return;
                   auto status = statusFromLink(formFields(request.query)["url"]);
                   response.status = status.value_or(200);
                   response.set_content(status ? "<result code=\"something went wrong\" />\n"
                                               : "<result code=\"done\" />\n",
                                        "text/xml");
                 });
}
