#include <httplib.h>

#include <strings.h>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/sandbox/ServiceRoutes.h"
#include "app/sandbox/ServiceSandbox.h"
#include "platform/base/Strings.h"
#include "platform/crypto/Md5.h"
#include "platform/net/Url.h"
#include "sharing/config/SHKServiceConfig.h"

// Facebook as the program meets it: the log-in page (any e-mail, any password but "wrong"),
// which sends the browser on to "fbdialog://success?auth_token=…"; the REST server with
// facebook.auth.getSession and facebook.photos.upload, checking every call's signature; and
// the permission and publishing pages, whose links and forms end at "fbdialog:success" or
// "fbdialog:cancel". A published story is a POST to /connect/publish.php, kept in the record.
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct Part {
  std::string name, filename, value;
};

struct Sessions {
  std::mutex mutex;
  std::map<std::string, std::string> tokens;   // auth token -> e-mail
  std::map<std::string, std::string> secrets;  // session key -> session secret
  std::map<std::string, std::string> uids;     // session key -> uid
  unsigned long next = 1;
};

std::string header(const SandboxRequest& request, std::string_view name) {
  for (const auto& [key, value] : request.headers) {
    if (strcasecmp(key.c_str(), std::string(name).c_str()) == 0) return value;
  }
  return {};
}

Fields urlencoded(std::string_view text) {
  Fields fields;
  while (!text.empty()) {
    size_t amp = text.find('&');
    std::string_view pair = text.substr(0, amp);
    text.remove_prefix(amp == std::string_view::npos ? text.size() : amp + 1);
    if (pair.empty()) continue;
    size_t eq = pair.find('=');
    std::string name(pair.substr(0, eq));
    std::string value(eq == std::string_view::npos ? "" : pair.substr(eq + 1));
    std::replace(name.begin(), name.end(), '+', ' ');
    std::replace(value.begin(), value.end(), '+', ' ');
    fields.emplace_back(net::unescape(name), net::unescape(value));
  }
  return fields;
}

// The parts of a multipart body; the closing delimiter may be missing, as the REST client and
// the panels leave it out.
std::vector<Part> multipart(std::string_view body, const std::string& boundary) {
  std::vector<Part> parts;
  const std::string delimiter = "--" + boundary;
  size_t at = body.find(delimiter);
  if (at == std::string_view::npos) return parts;
  at += delimiter.size();
  while (at < body.size() && body.substr(at).starts_with("\r\n")) {
    at += 2;
    size_t end = body.find("\r\n" + delimiter, at);
    if (end == std::string_view::npos) break;
    std::string_view part = body.substr(at, end - at);
    size_t blank = part.find("\r\n\r\n");
    if (blank != std::string_view::npos) {
      std::string_view head = part.substr(0, blank);
      auto param = [&head](std::string_view key) {
        size_t p = head.find(key);
        if (p == std::string_view::npos) return std::string();
        p += key.size();
        return std::string(head.substr(p, head.find('"', p) - p));
      };
      parts.push_back(
          {param(" name=\""), param("filename=\""), std::string(part.substr(blank + 4))});
    }
    at = end + 2 + delimiter.size();
  }
  return parts;
}

std::vector<Part> bodyParts(const SandboxRequest& request) {
  std::string type = header(request, "Content-Type");
  std::vector<Part> parts;
  size_t b = type.find("boundary=");
  if (type.starts_with("multipart/form-data") && b != std::string::npos) {
    std::string boundary = type.substr(b + 9);
    if (boundary.size() > 1 && boundary.front() == '"')
      boundary = boundary.substr(1, boundary.size() - 2);
    return multipart(request.body, boundary);
  }
  for (auto& [name, value] : urlencoded(request.body)) parts.push_back({name, "", value});
  return parts;
}

std::string field(const Fields& fields, std::string_view name) {
  for (const auto& [key, value] : fields) {
    if (key == name) return value;
  }
  return {};
}

Fields plainFields(const std::vector<Part>& parts) {
  Fields fields;
  for (const Part& p : parts) {
    if (p.filename.empty()) fields.emplace_back(p.name, p.value);
  }
  return fields;
}

std::string errorAnswer(int code, const std::string& message) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<error_response><error_code>" +
         std::to_string(code) + "</error_code><error_msg>" + base::escapeHtml(message) +
         "</error_msg><request_args list=\"true\"/></error_response>";
}

std::string page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + base::escapeHtml(title) +
         "</title></head><body style=\"font-family:sans-serif\">\n" + body + "\n</body></html>\n";
}

// MD5 of the name=value pairs (without "sig") in case-insensitive name order, then the secret.
std::string signature(Fields fields, const std::string& secret) {
  std::stable_sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
    return strcasecmp(a.first.c_str(), b.first.c_str()) < 0;
  });
  std::string text;
  for (const auto& [name, value] : fields) {
    if (name != "sig") text += name + "=" + value;
  }
  return crypto::Md5::hexDigest(text + secret);
}

std::string loginPage(const Fields& query, const std::string& problem) {
  std::string hidden;
  for (const auto& [name, value] : query) {
    hidden += "<input type=\"hidden\" name=\"" + base::escapeHtml(name) + "\" value=\"" +
              base::escapeHtml(value) + "\">\n";
  }
  return page("Log in to Facebook (sandbox)",
              (problem.empty() ? "" : "<p id=\"problem\">" + base::escapeHtml(problem) + "</p>\n") +
                  "<form method=\"post\" action=\"login.php\">\n" + hidden +
                  "<p>E-mail <input id=\"email\" name=\"email\" type=\"text\"></p>\n"
                  "<p>Password <input id=\"pass\" name=\"pass\" type=\"password\"></p>\n"
                  "<p><input id=\"login\" type=\"submit\" value=\"Log in\"></p>\n</form>");
}

void installRest(ServiceSandbox& sandbox, const std::string& host,
                 const std::shared_ptr<Sessions>& sessions) {
  sandbox.handle(
      "SHKFacebook", host, "POST", "/restserver.php",
      [sessions](const SandboxRequest& request, httplib::Response& response) {
        std::vector<Part> parts = bodyParts(request);
        Fields params = plainFields(parts);
        const std::string method = field(params, "method");
        const std::string sessionKey = field(params, "session_key");
        const bool special = method == "facebook.auth.getSession";
        std::string secret = SHKServiceConfig::shared().value("SHKFacebook", "api_secret");
        std::lock_guard lock(sessions->mutex);
        if (!special && field(params, "ss") == "1") {
          auto it = sessions->secrets.find(sessionKey);
          secret = it == sessions->secrets.end() ? "" : it->second;
        }
        std::string answer;
        if (signature(params, secret) != field(params, "sig")) {
          answer = errorAnswer(104, "Incorrect signature");
        } else if (special) {
          auto token = sessions->tokens.find(field(params, "auth_token"));
          if (token == sessions->tokens.end()) {
            answer = errorAnswer(100, "Invalid parameter");
          } else {
            std::string n = std::to_string(sessions->next++);
            std::string key = "sandbox-session-" + n, sessionSecret = "sandbox-secret-" + n;
            std::string uid = std::to_string(100000000000000ull + sessions->next);
            sessions->secrets[key] = sessionSecret;
            sessions->uids[key] = uid;
            sessions->tokens.erase(token);
            answer =
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<auth_getSession_response>"
                "<session_key>" +
                key + "</session_key><uid>" + uid + "</uid><expires>0</expires><secret>" +
                sessionSecret + "</secret></auth_getSession_response>";
          }
        } else if (!sessions->secrets.contains(sessionKey)) {
          answer = errorAnswer(102, "Session key invalid or no longer valid");
        } else if (method == "facebook.photos.upload") {
          auto picture = std::find_if(parts.begin(), parts.end(),
                                      [](const Part& p) { return !p.filename.empty(); });
          if (picture == parts.end() || picture->value.empty()) {
            answer = errorAnswer(324, "Requires upload file");
          } else {
            std::string pid = std::to_string(sessions->next++);
            answer =
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<photos_upload_response>"
                "<pid>" +
                pid + "</pid><aid>1</aid><owner>" + sessions->uids[sessionKey] +
                "</owner><caption>" + base::escapeHtml(field(params, "caption")) +
                "</caption></photos_upload_response>";
          }
        } else {
          answer = errorAnswer(3, "Unknown method");
        }
        response.set_content(answer, "text/xml; charset=utf-8");
      });
}

}  // namespace

void addFacebookRoutes(ServiceSandbox& sandbox) {
  auto sessions = std::make_shared<Sessions>();

  sandbox.handle("SHKFacebook", "web", "GET", "/login.php",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   response.set_content(loginPage(urlencoded(request.query), ""),
                                        "text/html; charset=utf-8");
                 });
  sandbox.handle(
      "SHKFacebook", "web", "POST", "/login.php",
      [sessions](const SandboxRequest& request, httplib::Response& response) {
        Fields form = plainFields(bodyParts(request));
        Fields query;
        for (const auto& [name, value] : form) {
          if (name != "email" && name != "pass") query.emplace_back(name, value);
        }
        if (field(form, "email").empty() || !ServiceSandbox::acceptsLogin(field(form, "pass"))) {
          response.set_content(loginPage(query, "Incorrect e-mail or password."),
                               "text/html; charset=utf-8");
          return;
        }
        std::string token;
        {
          std::lock_guard lock(sessions->mutex);
          token = "sandbox-token-" + std::to_string(sessions->next++);
          sessions->tokens[token] = field(form, "email");
        }
        std::string next = field(form, "next");
        if (next.empty()) next = "fbdialog://success";
        response.status = 302;
        response.set_header("Location", next + (next.find('?') == std::string::npos ? "?" : "&") +
                                            "auth_token=" + token);
      });
  installRest(sandbox, "api", sessions);
  installRest(sandbox, "video", sessions);

  sandbox.handle(
      "SHKFacebook", "web", "GET", "/connect/prompt_permission.php",
      [](const SandboxRequest& request, httplib::Response& response) {
        Fields query = urlencoded(request.query);
        response.set_content(
            page("Request for Permission (sandbox)",
                 "<p>The application asks for the permission <b id=\"permission\">" +
                     base::escapeHtml(field(query, "ext_perm")) +
                     "</b>.</p>\n<p><a id=\"allow\" href=\"" +
                     base::escapeHtml(field(query, "next")) +
                     "\">Allow</a> <a id=\"deny\" href=\"" +
                     base::escapeHtml(field(query, "cancel")) + "\">Don't Allow</a></p>"),
            "text/html; charset=utf-8");
      });
  sandbox.handle(
      "SHKFacebook", "web", "POST", "/connect/prompt_feed.php",
      [sessions](const SandboxRequest& request, httplib::Response& response) {
        Fields form = plainFields(bodyParts(request));
        bool known;
        {
          std::lock_guard lock(sessions->mutex);
          known = sessions->secrets.contains(field(form, "session_key"));
        }
        if (!known) {
          response.set_content(page("Error (sandbox)", "<p id=\"problem\">Invalid session.</p>"),
                               "text/html; charset=utf-8");
          return;
        }
        std::string hidden;
        for (const char* name :
             {"session_key", "attachment", "action_links", "target_id", "callback"}) {
          hidden += std::string("<input type=\"hidden\" name=\"") + name + "\" value=\"" +
                    base::escapeHtml(field(form, name)) + "\">\n";
        }
        response.set_content(
            page("Publish Story (sandbox)",
                 "<form method=\"post\" action=\"publish.php\">\n" + hidden + "<p>" +
                     base::escapeHtml(field(form, "user_message_prompt")) +
                     "</p>\n<textarea name=\"feedform_user_message\" rows=\"3\" cols=\"30\">"
                     "</textarea>\n<pre id=\"attachment\">" +
                     base::escapeHtml(field(form, "attachment")) +
                     "</pre>\n<pre id=\"action_links\">" +
                     base::escapeHtml(field(form, "action_links")) +
                     "</pre>\n<p><input id=\"publish\" type=\"submit\" value=\"Publish\"> "
                     "<a id=\"skip\" href=\"" +
                     base::escapeHtml(field(form, "cancel")) + "\">Skip</a></p>\n</form>"),
            "text/html; charset=utf-8");
      });
  // The story is in the record with its message; the page goes on to the callback.
  sandbox.handle("SHKFacebook", "web", "POST", "/connect/publish.php",
                 [](const SandboxRequest& request, httplib::Response& response) {
                   Fields form = plainFields(bodyParts(request));
                   std::string callback = field(form, "callback");
                   response.status = 302;
                   response.set_header("Location",
                                       callback.empty() ? "fbdialog:success" : callback);
                 });
}
