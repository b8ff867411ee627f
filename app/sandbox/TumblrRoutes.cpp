// Tumblr in the sandbox: logins take any password but "wrong" (403 otherwise); a post, form or
// multipart, answers 201 with a post id, 403 for the password "wrong", and the status a link or
// title asks for with "sandbox-status".
#include <httplib.h>

#include "app/sandbox/FormFields.h"
#include "app/sandbox/ServiceSandbox.h"
#include "app/sandbox/StatusFromLink.h"

namespace {

// The fields of a multipart body that the sandbox needs, by part name.
std::map<std::string, std::string> multipartFields(const std::string& body) {
  std::map<std::string, std::string> fields;
  for (const char* name : {"password", "caption", "tags"}) {
    std::string head = std::string("name=\"") + name + "\"\r\n\r\n";
    size_t start = body.find(head);
    if (start == std::string::npos) continue;
    start += head.size();
    size_t end = body.find("\r\n--", start);
    fields[name] = body.substr(start, end == std::string::npos ? std::string::npos : end - start);
  }
  return fields;
}

}  // namespace

void addTumblrRoutes(ServiceSandbox& sandbox) {
  sandbox.handle("SHKTumblr", "api", "POST", "/api/authenticate",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   auto fields = formFields(request.body);
                   if (!ServiceSandbox::acceptsLogin(fields["password"])) {
                     response.status = 403;
                     response.set_content("Invalid credentials.", "text/plain");
                     return;
                   }
                   response.set_content("<tumblr version=\"1.0\"><user/></tumblr>", "text/xml");
                 });
  sandbox.handle(
      "SHKTumblr", "api", "POST", "/api/write",
      [](const SandboxRequest& request, httplib::Response& response) {
        bool multipart = false;
        for (const auto& [name, value] : request.headers) {
          if (name == "Content-Type" && value.starts_with("multipart/form-data")) {
            multipart = true;
          }
        }
        auto fields = multipart ? multipartFields(request.body) : formFields(request.body);
        if (!ServiceSandbox::acceptsLogin(fields["password"])) {
          response.status = 403;
          response.set_content("Invalid credentials.", "text/plain");
          return;
        }
        auto status = statusFromLink(fields["url"] + fields["title"] + fields["caption"]);
        response.status = status.value_or(201);
        response.set_content(response.status == 201 ? "123456" : "Sandbox error", "text/plain");
      });
}
