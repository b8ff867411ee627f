#include "app/demo/DemoSite.h"

#include <httplib.h>

#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/base/Log.h"

namespace fs = std::filesystem;

namespace {

struct FileType {
  const char* contentType;
  bool text;  // carries the placeholder
};

FileType typeOf(const fs::path& file, const std::string& body) {
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".rss") return {"application/rss+xml; charset=utf-8", true};
  if (ext == ".xml") return {"text/xml; charset=utf-8", true};
  // The site's scripts answer either an XML document (the menu) or a web page (the tools).
  if (ext == ".php")
    return {body.starts_with("<?xml") ? "text/xml; charset=utf-8" : "text/html; charset=utf-8",
            true};
  if (ext == ".html" || ext == ".htm") return {"text/html; charset=utf-8", true};
  if (ext == ".css") return {"text/css; charset=utf-8", true};
  if (ext == ".txt" || ext == ".md") return {"text/plain; charset=utf-8", true};
  if (ext == ".jpg" || ext == ".jpeg") return {"image/jpeg", false};
  if (ext == ".png") return {"image/png", false};
  if (ext == ".gif") return {"image/gif", false};
  return {"application/octet-stream", false};
}

// The request path (already percent-decoded by the server) as a path relative to the root, or
// nothing when it could leave the root: "..", back-slashes, NUL bytes, no leading "/".
std::optional<fs::path> relativePath(const std::string& path) {
  if (path.empty() || path[0] != '/') return std::nullopt;
  if (path.find('\0') != std::string::npos || path.find('\\') != std::string::npos)
    return std::nullopt;
  fs::path relative;
  std::istringstream segments(path);
  std::string segment;
  while (std::getline(segments, segment, '/')) {
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") return std::nullopt;
    relative /= segment;
  }
  return relative;
}

bool within(const fs::path& file, const fs::path& root) {
  auto f = file.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++f)
    if (f == file.end() || *f != *r) return false;
  return true;
}

bool readFile(const fs::path& file, std::string& out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  out = std::move(buffer).str();
  return true;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void fail(httplib::Response& response, int status, const char* text) {
  response.status = status;
  response.set_content(text, "text/plain; charset=utf-8");
}

}  // namespace

DemoSite::DemoSite(fs::path root, int preferredPort)
    : root_(std::move(root)), preferredPort_(preferredPort) {}

DemoSite::~DemoSite() {
  stop();
}

bool DemoSite::start() {
  if (running()) return true;
  std::error_code ec;
  if (root_.empty() || !fs::is_directory(root_, ec)) {
    base::log("DEMO SITE NOT FOUND = " + root_.string());
    return false;
  }
  canonicalRoot_ = fs::canonical(root_, ec);
  if (ec) return false;

  server_ = std::make_unique<httplib::Server>();
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    serve(request, response);
  });
  // Pictures are asked for all at once, each on a connection of its own.
  server_->new_task_queue = [] { return new httplib::ThreadPool(32); };
  // An idle kept-alive connection holds up stop() for this long.
  server_->set_keep_alive_timeout(1);
  // Without the library's SO_REUSEPORT, so that a port another server listens on (a second
  // copy of the program, say) is refused rather than shared.
  // Called only while binding, for the socket about to listen.
  socket_t listening = INVALID_SOCKET;
  server_->set_socket_options([&listening](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    listening = sock;
  });
  port_ = preferredPort_ > 0 && server_->bind_to_port("127.0.0.1", preferredPort_)
              ? preferredPort_
              : server_->bind_to_any_port("127.0.0.1");
  // The library's backlog of 5 would make a screenful of picture requests wait a second.
  if (port_ > 0) ::listen(listening, 64);
  if (port_ <= 0) {
    port_ = 0;
    server_.reset();
    base::log("DEMO SITE CANNOT BIND");
    return false;
  }
  listenEnded_ = false;
  // The socket listens already: connections wait in its backlog until the thread accepts them,
  // so the program goes on without waiting for the thread to start.
  thread_ = std::thread([this] {
    server_->listen_after_bind();
    listenEnded_ = true;
  });
  base::log("DEMO SITE = " + baseUrl());
  return true;
}

void DemoSite::stop() {
  if (!thread_.joinable()) return;
  // The library's stop() does nothing to a server whose thread has not begun serving yet.
  while (!server_->is_running() && !listenEnded_) std::this_thread::yield();
  server_->stop();
  thread_.join();
  server_.reset();
  port_ = 0;
}

std::string DemoSite::baseUrl() const {
  return port_ ? "http://127.0.0.1:" + std::to_string(port_) : std::string();
}

std::string DemoSite::preferredBaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(preferredPort_);
}

void DemoSite::serve(const httplib::Request& request, httplib::Response& response) const {
  auto relative = relativePath(request.path);
  if (!relative) return fail(response, 403, "Forbidden\n");

  std::error_code ec;
  fs::path file = fs::weakly_canonical(canonicalRoot_ / *relative, ec);
  // A link inside the site must not lead out of it either.
  if (ec || !within(file, canonicalRoot_)) return fail(response, 403, "Forbidden\n");
  if (!fs::is_regular_file(file, ec)) return fail(response, 404, "Not Found\n");

  std::string body;
  if (!readFile(file, body)) return fail(response, 500, "Cannot read the file\n");
  FileType type = typeOf(file, body);
  if (type.text) replaceAll(body, kPlaceholder, baseUrl());
  response.set_content(std::move(body), type.contentType);
}
