#include "app/sandbox/ServiceSandbox.h"

#include <nlohmann/json.hpp>

#include <httplib.h>

#include <strings.h>
#include <algorithm>
#include <chrono>

#include "app/sandbox/SandboxHttpServer.h"
#include "app/sandbox/ServiceRoutes.h"
#include "sharing/config/SHKServiceConfig.h"

namespace {

// Where a multipart body's Content-Type waits while the server reads the body.
constexpr const char* kHiddenContentType = "X-Sandbox-Multipart-Content-Type";

bool isServiceHost(std::string_view service, std::string_view host) {
  for (const auto& known : SHKServiceConfig::services()) {
    if (service != known.name) continue;
    for (const auto& key : known.keys) {
      if (key.kind == SHKServiceConfig::Kind::Host && host == key.name) return true;
    }
  }
  return false;
}

}  // namespace

// Each service's endpoints, one file per service.
void addInstapaperRoutes(ServiceSandbox& sandbox);
void addPinboardRoutes(ServiceSandbox& sandbox);
void addReadItLaterRoutes(ServiceSandbox& sandbox);
void addTumblrRoutes(ServiceSandbox& sandbox);
void addGoogleReaderRoutes(ServiceSandbox& sandbox);

ServiceSandbox::ServiceSandbox() {
  addTwitterRoutes(*this);
  addDeliciousRoutes(*this);
  addFacebookRoutes(*this);
  addInstapaperRoutes(*this);
  addPinboardRoutes(*this);
  addReadItLaterRoutes(*this);
  addTumblrRoutes(*this);
  addGoogleReaderRoutes(*this);
}

ServiceSandbox::~ServiceSandbox() {
  stop();
}

void ServiceSandbox::handle(std::string service, std::string host, std::string method,
                            std::string path, Handler handler) {
  std::lock_guard lock(handlersMutex_);
  handlers_[{std::move(service), std::move(host), std::move(method), std::move(path)}] =
      std::move(handler);
}

bool ServiceSandbox::start(int port) {
  if (thread_.joinable()) return true;
  server_ = std::make_unique<SandboxHttpServer>();
  server_->set_payload_max_length(kMaxBodyBytes);
  // An idle kept-alive connection holds up stop() for this long.
  server_->set_keep_alive_timeout(1);
  server_->Get("/_sandbox/requests", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(log_.json(), "application/json");
  });
  // (With a content reader, as the catch-all below has one and those are matched first.)
  server_->Delete("/_sandbox/requests", [this](const httplib::Request&, httplib::Response& res,
                                               const httplib::ContentReader&) {
    log_.clear();
    res.status = 204;
  });
  server_->Get("/_sandbox/?", [this](const httplib::Request&, httplib::Response& res) {
    std::string page = log_.html();
    size_t end = page.rfind("</body>");
    page.insert(end == std::string::npos ? page.size() : end, mailSink_.html());
    res.set_content(page, "text/html; charset=utf-8");
  });
  server_->Get("/_sandbox/mail", [this](const httplib::Request&, httplib::Response& res) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& m : mailSink_.messages())
      list.push_back({{"from", m.from}, {"to", m.recipients}, {"data", m.data}});
    res.set_content(list.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                    "application/json");
  });
  // The server would parse multipart bodies itself and refuse those without a closing
  // delimiter, which some clients leave out; their type is hidden from it and restored in the
  // record.
  server_->set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
    auto& request = const_cast<httplib::Request&>(req);
    auto type = request.headers.find("Content-Type");
    if (type != request.headers.end() && type->second.starts_with("multipart/")) {
      request.headers.emplace(kHiddenContentType, type->second);
      request.headers.erase(type);
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  auto serveAny = [this](const httplib::Request& req, httplib::Response& res) {
    serve(req, req.body, res);
  };
  // Bodies are read here rather than by the server, which would refuse form bodies over 8 KiB;
  // the payload limit above still holds.
  auto serveWithBody = [this](const httplib::Request& req, httplib::Response& res,
                              const httplib::ContentReader& reader) {
    // Multipart bodies too arrive whole: their type is hidden from the server above.
    std::string body;
    bool read = reader([&body](const char* data, size_t length) {
      body.append(data, length);
      return true;
    });
    // A body over the limit (413) or malformed (400) is answered and forgotten.
    if (!read) {
      if (res.status < 400) res.status = 400;
      return;
    }
    serve(req, std::move(body), res);
  };
  server_->Get(".*", serveAny);
  server_->Options(".*", serveAny);
  server_->Post(".*", serveWithBody);
  server_->Put(".*", serveWithBody);
  server_->Patch(".*", serveWithBody);
  server_->Delete(".*", serveWithBody);

  if (port == 0) {
    port_ = server_->bind_to_any_port("127.0.0.1");
  } else {
    port_ = server_->bind_to_port("127.0.0.1", port) ? port : 0;
  }
  if (port_ <= 0) {
    port_ = 0;
    server_.reset();
    return false;
  }
  listenEnded_ = false;
  thread_ = std::thread([this] {
    server_->listen_after_bind();
    listenEnded_ = true;
  });
  // stop() does nothing to a server that is not running yet, so wait until it is.
  while (!server_->is_running() && !listenEnded_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!server_->is_running() || !mailSink_.start()) {
    stop();
    return false;
  }
  return true;
}

void ServiceSandbox::stop() {
  mailSink_.stop();
  if (!thread_.joinable()) return;
  server_->stop();
  thread_.join();
  server_.reset();
  port_ = 0;
}

std::string ServiceSandbox::baseUrl() const {
  return port_ ? "http://127.0.0.1:" + std::to_string(port_) : std::string();
}

SandboxRequest ServiceSandbox::describe(const httplib::Request& request, std::string body) {
  SandboxRequest out;
  out.method = request.method;
  // The target as sent, still escaped; the server's own path is already decoded.
  std::string_view target = request.target;
  size_t mark = target.find('?');
  if (mark != std::string_view::npos) out.query = std::string(target.substr(mark + 1));
  std::string_view path = target.substr(0, mark);
  out.path = std::string(path);
  // "/<service>/<host>" or "/<service>/<host>/rest".
  if (path.starts_with('/')) {
    size_t second = path.find('/', 1);
    if (second != std::string_view::npos) {
      size_t third = path.find('/', second + 1);
      std::string_view service = path.substr(1, second - 1);
      std::string_view host =
          path.substr(second + 1, third == std::string_view::npos ? std::string_view::npos
                                                                  : third - second - 1);
      if (isServiceHost(service, host)) {
        out.service = service;
        out.host = host;
        out.path = third == std::string_view::npos ? "/" : std::string(path.substr(third));
      }
    }
  }
  for (const auto& [name, value] : request.headers) {
    // The server notes the peer's address among the headers; it was not sent.
    if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
        name == "LOCAL_PORT") {
      continue;
    }
    out.headers.emplace_back(name == kHiddenContentType ? "Content-Type" : name, value);
  }
  // In the server's order (names without case), where the restored type belongs.
  std::stable_sort(out.headers.begin(), out.headers.end(), [](const auto& a, const auto& b) {
    return strcasecmp(a.first.c_str(), b.first.c_str()) < 0;
  });
  out.body = std::move(body);
  return out;
}

void ServiceSandbox::serve(const httplib::Request& request, std::string body,
                           httplib::Response& response) {
  SandboxRequest received = describe(request, std::move(body));
  Handler handler;
  if (!received.service.empty()) {
    std::lock_guard lock(handlersMutex_);
    auto found = handlers_.find({received.service, received.host, received.method, received.path});
    if (found != handlers_.end()) handler = found->second;
  }
  if (handler) {
    handler(received, response);
  } else {
    response.status = 404;
    response.set_content(received.service.empty()
                             ? "No share service lives at this path in the sandbox.\n"
                             : "The sandbox has no " + received.method + " " + received.path +
                                   " for " + received.service + " (" + received.host + ").\n",
                         "text/plain; charset=utf-8");
  }
  log_.add(std::move(received));
}
