// Google Reader in the sandbox: the account service's ClientLogin answers key=value lines
// ("Auth=…" for any password but "wrong", "Error=BadAuthentication" with 403 for that one);
// Reader hands out a token to requests that carry the GoogleLogin authorization and the session
// cookie, and takes an edit with that token (or answers a link's "sandbox-status").
#include <httplib.h>

#include "app/sandbox/FormFields.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/sandbox/StatusFromLink.h"

namespace {

constexpr const char* kToken = "sandbox-token";

bool signedIn(const SandboxRequest& request) {
  bool auth = false, cookie = false;
  for (const auto& [name, value] : request.headers) {
    if (name == "Authorization" && value.starts_with("GoogleLogin auth=sandbox-auth-")) auth = true;
    if (name == "Cookie" && value.find("SID=sandbox-sid") != std::string::npos) cookie = true;
  }
  return auth && cookie;
}

}  // namespace

void addGoogleReaderRoutes(ServiceSandbox& sandbox) {
  sandbox.handle("SHKGoogleReader", "accounts", "POST", "/accounts/ClientLogin",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   if (!ServiceSandbox::acceptsLogin(fields["Passwd"])) {
                     response.status = 403;
                     response.set_content("Error=BadAuthentication\n", "text/plain");
                     return;
                   }
                   response.set_content("SID=sandbox-sid\nLSID=sandbox-lsid\nAuth=sandbox-auth-" +
                                            std::to_string(fields["Email"].size()) + "\n",
                                        "text/plain");
                 });
  sandbox.handle("SHKGoogleReader", "reader", "GET", "/reader/api/0/token",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   if (!signedIn(request)) {
                     response.status = 401;
                     return;
                   }
                   response.set_content(kToken, "text/plain");
                 });
  sandbox.handle("SHKGoogleReader", "reader", "POST", "/reader/api/0/item/edit",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   if (!signedIn(request) || fields["T"] != kToken) {
                     response.status = 401;
                     return;
                   }
                   response.status = statusFromLink(fields["url"]).value_or(200);
                   response.set_content(response.status == 200 ? "OK" : "Error", "text/plain");
                 });
}
