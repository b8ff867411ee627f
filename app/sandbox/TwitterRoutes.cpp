#include <httplib.h>

#include <cctype>
#include <memory>
#include <mutex>
#include <set>

#include "app/sandbox/SandboxOAuthProvider.h"
#include "app/sandbox/ServiceRoutes.h"

// Twitter's OAuth endpoints on its web site (the callback is the registered one; xAuth logins
// too) and the status
// update, which answers JSON: the status, or {"error": …}. A nonce used twice is refused as
// Twitter does; the follow request for the news account. Also the link shortener (plain text;
// "ALREADY_A_BITLY_LINK" for its own links, "INVALID_APIKEY" for the key "wrong") and the picture
// host, which checks the user with the delegated verification headers as the real one asks Twitter.
void addTwitterRoutes(ServiceSandbox& sandbox) {
  auto provider = std::make_shared<SandboxOAuthProvider>(
      SandboxOAuthProvider::Options{"SHKTwitter", "web", "/oauth/request_token", "/oauth/authorize",
                                    "/oauth/access_token", false, false, true});
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

  sandbox.handle("SHKTwitter", "api", "POST", "/1/friendships/create/vemonews.json",
                 [provider](const SandboxRequest& request, httplib::Response& response) {
                   if (!provider->verify(request, response)) return;
                   response.set_content("{\"screen_name\":\"vemonews\"}", "application/json");
                 });
  sandbox.handle("SHKTwitter", "shortener", "GET", "/v3/shorten",
                 [seen](const SandboxRequest& request, httplib::Response& response) {
                   std::string query = "&" + request.query + "&";
                   if (query.find("&apikey=wrong&") != std::string::npos) {
                     response.status = 500;
                     response.set_content("INVALID_APIKEY\n", "text/plain");
                   } else if (query.find("longUrl=http%3A%2F%2Fbit.ly") != std::string::npos) {
                     response.set_content("ALREADY_A_BITLY_LINK\n", "text/plain");
                   } else {
                     std::lock_guard lock(seen->mutex);
                     response.set_content("http://bit.ly/s" + std::to_string(seen->next++) + "\n",
                                          "text/plain");
                   }
                 });
  sandbox.handle(
      "SHKTwitter", "pictures", "POST", "/api/2/upload.xml",
      [provider, seen](const SandboxRequest& request, httplib::Response& response) {
        if (!provider->verify(request, response)) return;
        // The credential check the picture host would make at Twitter, signed by the client.
        SandboxRequest check;
        check.service = "SHKTwitter";
        check.host = "api";
        check.method = "GET";
        check.path = "/1/account/verify_credentials.json";
        std::string provided;
        for (const auto& [name, value] : request.headers) {
          std::string lowered = name;
          for (char& c : lowered)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
          if (lowered == "host") check.headers.emplace_back("Host", value);
          if (lowered == "x-verify-credentials-authorization") {
            check.headers.emplace_back("Authorization", value);
          }
          if (lowered == "x-auth-service-provider") provided = value;
        }
        if (!provided.ends_with("/SHKTwitter/api/1/account/verify_credentials.json") ||
            !provider->verify(check, response)) {
          response.status = 401;
          response.set_content("<error><message>Could not authenticate you</message></error>",
                               "text/xml");
          return;
        }
        if (request.body.find("name=\"media\"") == std::string::npos) {
          response.status = 400;
          response.set_content("<error><message>No picture</message></error>", "text/xml");
          return;
        }
        std::lock_guard lock(seen->mutex);
        response.set_content(
            "<image><url>http://pics.example/p" + std::to_string(seen->next++) + "</url></image>",
            "text/xml");
      });
}
