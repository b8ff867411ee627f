#include "app/sandbox/RequestLog.h"
#include "platform/base/Strings.h"

#include <glib.h>

#include <nlohmann/json.hpp>

namespace {

std::string base64(const std::string& bytes) {
  gchar* text = g_base64_encode(reinterpret_cast<const guchar*>(bytes.data()), bytes.size());
  std::string out = text;
  g_free(text);
  return out;
}

// The body as text when it is valid UTF-8 without control characters other than line breaks
// and tabs; otherwise its size.
std::string bodyForPage(const std::string& body) {
  if (body.empty()) return "(no body)";
  bool text = g_utf8_validate(body.data(), static_cast<gssize>(body.size()), nullptr);
  for (unsigned char c : body) {
    if (c < 0x20 && c != '\n' && c != '\r' && c != '\t') text = false;
  }
  if (!text) return "(" + std::to_string(body.size()) + " bytes of binary data)";
  constexpr size_t kShown = 64 * 1024;
  if (body.size() > kShown) return base::escapeHtml(body.substr(0, kShown)) + "\n…";
  return base::escapeHtml(body);
}

}  // namespace

void RequestLog::add(SandboxRequest request) {
  std::lock_guard lock(mutex_);
  bytes_ += request.body.size();
  requests_.push_back(std::move(request));
  while (!requests_.empty() && (requests_.size() > maxRequests_ || bytes_ > maxBytes_)) {
    bytes_ -= requests_.front().body.size();
    requests_.pop_front();
  }
}

void RequestLog::clear() {
  std::lock_guard lock(mutex_);
  requests_.clear();
  bytes_ = 0;
}

std::deque<SandboxRequest> RequestLog::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string RequestLog::json() const {
  nlohmann::ordered_json all = nlohmann::ordered_json::array();
  for (const SandboxRequest& r : requests()) {
    nlohmann::ordered_json headers = nlohmann::ordered_json::array();
    for (const auto& [name, value] : r.headers) headers.push_back({name, value});
    all.push_back({{"service", r.service},
                   {"host", r.host},
                   {"method", r.method},
                   {"path", r.path},
                   {"query", r.query},
                   {"headers", headers},
                   {"body_base64", base64(r.body)}});
  }
  // Bytes that are not UTF-8 (a header value, a path) are replaced rather than refused.
  return all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string RequestLog::html() const {
  std::deque<SandboxRequest> all = requests();
  std::string page =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Service sandbox</title>"
      "<style>body{font-family:sans-serif;margin:1em}pre{background:#f4f4f4;padding:.5em;"
      "white-space:pre-wrap;word-break:break-all}h2{font-size:1em;margin-top:1.5em}"
      "table{border-collapse:collapse}td{padding:0 1em 0 0;vertical-align:top;"
      "font-family:monospace}</style></head><body>\n<h1>Service sandbox</h1>\n<p>" +
      std::to_string(all.size()) +
      " request(s) received, oldest first. The same as JSON: <a href=\"/_sandbox/requests\">"
      "/_sandbox/requests</a> (DELETE it to forget them).</p>\n";
  int number = 0;
  for (const SandboxRequest& r : all) {
    page += "<h2>" + std::to_string(++number) + ". " + base::escapeHtml(r.method) + " " +
            base::escapeHtml(r.service.empty() ? "(no service)" : r.service + " / " + r.host) +
            " " + base::escapeHtml(r.path) +
            (r.query.empty() ? "" : "?" + base::escapeHtml(r.query)) + "</h2>\n<table>";
    for (const auto& [name, value] : r.headers) {
      page += "<tr><td>" + base::escapeHtml(name) + "</td><td>" + base::escapeHtml(value) +
              "</td></tr>";
    }
    page += "</table>\n<pre>" + bodyForPage(r.body) + "</pre>\n";
  }
  return page + "</body></html>\n";
}
